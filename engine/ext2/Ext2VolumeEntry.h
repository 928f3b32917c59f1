// What the layers above the Ext2/3 reader use: recognising an Ext2/3 volume and building its tree.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::ext2 {

// Never null; kFsUnknown when the sectors at firstSector hold no Ext2/3 superblock (at firstSector + 2).
std::unique_ptr<IVolume> AnalyzeExt2Volume(IStorageDevice* device, int64_t firstSector);

// The tree of the volume that starts at firstSector of device: every inode, live and deleted.
// Null when the volume gives no tree or the build was cancelled; the tree belongs to the caller.
CFileSystemNode* BuildExt2VolumeTree(IStorageDevice* device, int64_t firstSector,
                                     IDIRBuildCallback* callback);

}  // namespace keldrin::ext2
