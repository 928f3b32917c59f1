// The quick build of an intact FAT volume: the boot record, the FAT copies and the folders from
// the root, deleted entries (and on request the live ones) with their extents.
#pragma once

#include "engine/devices/StorageDevice.h"
#include "engine/fat/FATSearchedPartitionInfo.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::fat {

// Builds on the calling thread. Null when the boot record (or, for FAT32, its backup) is not a
// FAT boot record with its FATs in place, or when the callback cancelled; otherwise the caller
// owns the tree. A null callback never cancels.
CFileSystemNode* BuildQuickTree(IDIRBuildCallback* callback, const CFATSearchedPartitionInfo& info,
                                IStorageDevice* device, bool includeLive, int language);

// The same on a worker thread, pumping messages on the calling thread until it ends; null also
// when the worker cannot be started.
CFileSystemNode* RunQuickBuild(IDIRBuildCallback* callback, const CFATSearchedPartitionInfo& info,
                               IStorageDevice* device, bool includeLive, int language);

}  // namespace keldrin::fat
