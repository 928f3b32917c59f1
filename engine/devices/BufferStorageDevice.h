// A ring of the last scanned blocks, so that a signature analyser can look back over them after
// the scan has moved on. Reads are answered from the ring alone. A block that stays in memory
// anyway (a mapped image) is held where it lies instead of being copied.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin {

class CBufferStorageDevice final : public IStorageDevice {
  public:
    // Room for blockCount blocks of blockSectors sectors; the first block appended is firstSector.
    // False (and unusable) on sizes that are not positive or cannot be allocated.
    bool InitRing(int64_t firstSector, int64_t blockSectors, int64_t blockCount);
    // Copies one block from source; once the ring is full the oldest block makes room.
    bool AppendBlock(const void* source);
    // Like AppendBlock, but keeps only the address: the caller keeps the block's bytes valid and
    // unchanged until the ring lets go of it (slides past it or is initialised again).
    bool AppendBlockInPlace(const void* block);
    bool IsFull() const { return initialised_ && held_ == capacity_; }
    int64_t GetFirstSector() const { return firstHeld_; }

    // Fails unless every sector asked for is held.
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    // The sectors held.
    int64_t GetTotalSectors() override { return held_; }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    // Makes room for the next block and answers its place in the ring.
    size_t Advance();

    // Copied blocks; never read before written, so left uninitialised: a ring filled from a
    // mapping touches none of it.
    std::unique_ptr<unsigned char[]> storage_;
    std::vector<const unsigned char*> blocks_;  // each place's bytes, copied or in place
    int64_t firstHeld_ = 0;
    int64_t held_ = 0;
    size_t next_ = 0;  // the place the next block goes to
    int64_t blockSectors_ = 0;
    int64_t capacity_ = 0;  // in sectors
    bool initialised_ = false;
};

}  // namespace keldrin
