// Opens the SOURCE argument of a command: a disk image file or a block device, always read-only.
#pragma once

#include <memory>
#include <string>

#include "engine/devices/StorageDevice.h"

namespace keldrin::cli {

struct OpenedSource {
    std::unique_ptr<IStorageDevice> device;
    std::string kind;  // "image file" or "block device"
};

// Null device and a one-line reason in error when the source cannot be read.
OpenedSource OpenSource(const std::string& path, std::string& error);

}  // namespace keldrin::cli
