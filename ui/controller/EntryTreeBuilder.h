// The quick tree build of one listed volume with the builder of its file system.
#pragma once

#include "engine/devices/VolumeEntry.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::ui {

// Runs on the worker thread. Null when the volume yields no tree, the build was cancelled, or no
// builder exists for its type; the tree belongs to the caller.
CFileSystemNode* BuildEntryTree(VolumeEntry& entry, IDIRBuildCallback& callback);

}  // namespace keldrin::ui
