// The volume label from the label entry of a FAT root folder.
#pragma once

#include <cstdint>
#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/fat/FATBootRecord.h"

namespace keldrin::fat {

// True with the label (UTF-8) when a live label entry stands in the root folder of the volume
// whose boot record is at partitionStart. The FAT32 root chain ends at a cluster past the volume
// or one it met before.
bool ReadVolumeLabel(IStorageDevice* device, int64_t partitionStart, const CFATBootRecord& boot,
                     std::string& out);

}  // namespace keldrin::fat
