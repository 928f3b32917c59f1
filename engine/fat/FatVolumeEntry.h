// What the layers above the FAT reader use: recognising a FAT volume and building its quick tree.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::fat {

// Never null; kFsUnknown when the sectors at firstSector hold no FAT12/16/32 boot record.
std::unique_ptr<IVolume> AnalyzeFatVolume(IStorageDevice* device, int64_t firstSector);

// The quick build of the volume whose boot sector is at firstSector of device, with the scan
// settings' FAT-copy choices. includeLive off lists only deleted entries. Null when the volume
// gives no tree or the build was cancelled; the tree belongs to the caller.
CFileSystemNode* BuildFatVolumeTree(IStorageDevice* device, int64_t firstSector, bool includeLive,
                                    IDIRBuildCallback* callback);

}  // namespace keldrin::fat
