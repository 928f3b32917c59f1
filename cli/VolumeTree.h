// Builds the tree of one volume with the tree builder of its file system, on a worker thread.
#pragma once

#include <cstdint>
#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileTree.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::cli {

struct VolumeTree {
    TreeOwner<CFileSystemNode> root;  // null when nothing was built
    int fileSystemType = 7;
    std::string label;
    std::string error;  // why there is no tree
};

// Identifies the volume at firstSector and builds its tree. With allEntries off, builders that
// can leave live entries out (the deleted-files view) do so.
VolumeTree BuildVolumeTree(IStorageDevice& device, int64_t firstSector, bool allEntries,
                           IDIRBuildCallback& callback);

}  // namespace keldrin::cli
