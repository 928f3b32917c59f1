// A device that several threads may read at once: every call to the device it wraps is made under
// one lock, unless that device reads concurrently itself. Disk and cache devices keep positions
// and caches of their own and are not safe to share otherwise.
#pragma once

#include <mutex>

#include "engine/devices/StorageDevice.h"

namespace keldrin {

class SerializedDevice : public IStorageDevice {
  public:
    // device must outlive this one.
    explicit SerializedDevice(IStorageDevice& device) : device_(device), free_(device.ReadsConcurrently()) {}

    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override {
        if (free_) return device_.ReadSectors(buffer, firstSector, sectorCount);
        std::lock_guard lock(mutex_);
        return device_.ReadSectors(buffer, firstSector, sectorCount);
    }
    bool ReadsConcurrently() override { return true; }
    int64_t GetTotalSectors() override {
        std::lock_guard lock(mutex_);
        return device_.GetTotalSectors();
    }
    bool Open() override {
        std::lock_guard lock(mutex_);
        return device_.Open();
    }
    bool Close() override {
        std::lock_guard lock(mutex_);
        return device_.Close();
    }
    bool LocateInFile(int64_t firstSector, int64_t sectorCount, int& descriptor,
                      int64_t& byteOffset) override {
        std::lock_guard lock(mutex_);
        return device_.LocateInFile(firstSector, sectorCount, descriptor, byteOffset);
    }

  private:
    IStorageDevice& device_;
    const bool free_;
    std::mutex mutex_;
};

}  // namespace keldrin
