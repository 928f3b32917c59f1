// The last step of `recover` and `carve`: the checked files of a tree copied into a destination,
// after checking that it may take them, with progress and the summary line.
#pragma once

#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileSystemNode.h"

namespace keldrin::cli {

struct Destination {
    std::string folder;      // --out
    std::string sourcePath;  // the SOURCE argument, for the same-device check
    bool force = false;      // write even onto the source
};

// Makes the folder, refuses one on the source (unless forced) or without room for the checked
// bytes, runs the recovery and prints "Recovered N of M files (X bytes) to DIR". The exit status:
// kExitOk, kExitPartly when some files were not written, kExitUnreadable when nothing could start.
int RecoverCheckedFiles(IStorageDevice* device, CFileSystemNode* root, const Destination& destination);

}  // namespace keldrin::cli
