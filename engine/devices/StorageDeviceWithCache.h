// One cached window of B sectors over a parent device (not owned): the sector scan loads its
// blocks in order and every analyser's small reads inside the current block cost a memory copy.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin {

inline constexpr int64_t kDefaultCacheBlockSectors = 1000;

class CStorageDeviceWithCache final : public IStorageDevice {
  public:
    explicit CStorageDeviceWithCache(IStorageDevice* parent);

    // Replaces the window by a zeroed one of sectors sectors and empties it. False (block size 0)
    // when sectors is not positive or the window cannot be allocated.
    bool SetBlockSize(int64_t sectors);
    int64_t GetBlockSize() const { return blockSectors_; }
    // Whether 0 <= index < ceil(total / B).
    bool IsValidBlock(int64_t index);
    // Reads block index (the last one may be shorter than B) into the window. A failed read leaves
    // the window empty, so later reads go to the parent.
    bool LoadBlock(int64_t index);
    // The block in the window, -1 when it is empty.
    int64_t GetLoadedBlock() const { return loadedBlock_; }

    // Parts before and after the loaded block are read from the parent, the part inside is copied;
    // the result is the AND of the parent reads.
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    int64_t GetTotalSectors() override;
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    IStorageDevice* parent_;
    std::vector<unsigned char> window_;
    int64_t blockSectors_ = 0;
    int64_t loadedBlock_ = -1;
    int64_t loadedFirst_ = 0;
    int64_t loadedCount_ = 0;  // below B for the last block
};

}  // namespace keldrin
