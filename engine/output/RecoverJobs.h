// The recovery jobs the pages start: a checked subtree into a folder, or one file to a path. Each
// runs on a worker thread while the calling thread keeps its messages flowing.
#pragma once

#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::output {

struct RecoverTreeResult {
    int outcome = 0;             // kOutcomeSuccess, kOutcomeFailure or kOutcomeCancelled
    std::string folder;          // the folder made for the root
    std::string outOfSpaceFile;  // the file the destination filled up on, if it did
};

// Copies the checked files below root into a new folder, named after root, in destination
// (created when missing). False when the job could not start or root is not checked.
bool RecoverTree(IFileRecoverCallback* callback, IStorageDevice* device, CFileNode* root,
                 const std::string& destination, RecoverTreeResult* result = nullptr);

// Writes node's file to path (created if needed), on a worker thread when onThread. True when the
// file was written. Jobs on the same node wait for one another.
bool RecoverSingleFile(IFileRecoverCallback* callback, IStorageDevice* device, CFileNode* node,
                       const std::string& path, bool onThread);

}  // namespace keldrin::output
