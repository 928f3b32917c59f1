// The IVolume of an Ext2/3 volume: its type, size and label, read from its superblock.
#pragma once

#include <cstdint>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"

namespace keldrin::ext2 {

class CExt2Volume final : public IVolume {
  public:
    // Reads the superblock at firstSector + 2; never throws. Anything not usable leaves
    // kFsUnknown, an empty label and size 0.
    CExt2Volume(IStorageDevice* device, int64_t firstSector);

    int GetFileSystemType() override { return type_; }
    int64_t GetTotalSectors() override { return totalSectors_; }
    void GetVolumeLabel(char* buffer, size_t size) override;

  private:
    int type_ = kFsUnknown;
    char label_[100] = {};
    int64_t totalSectors_ = 0;
};

}  // namespace keldrin::ext2
