// Recognises a FAT12/16/32 volume: type, size and label, read once on construction.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"

namespace keldrin::fat {

class CFatVolumeAnalyze final : public IVolume {
  public:
    static constexpr size_t kLabelBufferSize = 100;

    CFatVolumeAnalyze(IStorageDevice* device, int64_t firstSector);

    int GetFileSystemType() override { return type_; }
    int64_t GetTotalSectors() override { return totalSectors_; }
    // Copies at most min(size, 100) bytes, zero-terminated and without cutting a character.
    void GetVolumeLabel(char* buffer, size_t size) override;

  private:
    int type_ = kFsUnknown;
    int64_t totalSectors_ = 0;
    char label_[kLabelBufferSize] = {};
};

}  // namespace keldrin::fat
