// A device that reads through another but cannot say where its sectors lie in a file: what a disk
// or a compressed image looks like to the scan, so a test can compare it with the mapped path.
#pragma once

#include "engine/devices/StorageDevice.h"

namespace keldrin::testing {

class WithoutFileDevice final : public IStorageDevice {
  public:
    explicit WithoutFileDevice(IStorageDevice& inner) : inner_(inner) {}
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        return inner_.ReadSectors(buffer, first, count);
    }
    int64_t GetTotalSectors() override { return inner_.GetTotalSectors(); }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    IStorageDevice& inner_;
};

}  // namespace keldrin::testing
