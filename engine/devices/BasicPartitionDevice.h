// A window of sectors on another device (a partition of a disk). The parent is not owned.
#pragma once

#include <cstdint>

#include "engine/devices/StorageDevice.h"

namespace keldrin {

class CBasicPartitionDevice final : public IStorageDevice {
  public:
    CBasicPartitionDevice(IStorageDevice* parent, int64_t firstSector, int64_t sectorCount);

    // Refuses reads that start outside the window or ask for more sectors than it has; a read that
    // runs past its end answers the parent's result for the part inside and zeros for the rest.
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    bool LocateInFile(int64_t firstSector, int64_t sectorCount, int& descriptor,
                      int64_t& byteOffset) override;
    int64_t GetTotalSectors() override { return sectorCount_; }
    bool Open() override { return true; }
    bool Close() override { return true; }

    IStorageDevice* GetParent() const { return parent_; }
    int64_t GetFirstSector() const { return firstSector_; }

  private:
    IStorageDevice* parent_;
    int64_t firstSector_;
    int64_t sectorCount_;
};

}  // namespace keldrin
