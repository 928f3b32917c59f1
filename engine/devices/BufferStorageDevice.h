// A ring of the last scanned blocks, so that a signature analyser can look back over them after
// the scan has moved on. Reads are answered from the ring alone.
#pragma once

#include <cstdint>
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
    bool IsFull() const { return initialised_ && held_ == capacity_; }
    int64_t GetFirstSector() const { return firstHeld_; }

    // Fails unless every sector asked for is held.
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    // The sectors held.
    int64_t GetTotalSectors() override { return held_; }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    std::vector<unsigned char> ring_;
    int64_t firstHeld_ = 0;
    int64_t held_ = 0;
    int64_t writePos_ = 0;  // in sectors
    int64_t blockSectors_ = 0;
    int64_t capacity_ = 0;  // in sectors
    bool initialised_ = false;
};

}  // namespace keldrin
