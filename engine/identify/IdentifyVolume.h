// Which file system a volume holds: the readers' volume analysers are tried in the order NTFS, FAT,
// Ext2/3, and the first that recognises the volume answers.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"

namespace keldrin {

// Never null: when no analyser recognises the volume, the last candidate answers kFsUnknown with an
// empty label and size 0, so callers test the type.
std::unique_ptr<IVolume> IdentifyVolume(IStorageDevice* device, int64_t firstSector);

}  // namespace keldrin
