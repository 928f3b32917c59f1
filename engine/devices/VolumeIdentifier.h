// How device discovery asks which file system a partition or volume holds. The readers sit above
// the devices, so discovery is handed the identifier (the front ends pass IdentifyVolume, tests a
// fake) instead of calling the readers itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"

namespace keldrin {

// Never null: an unrecognised volume answers kFsUnknown with an empty label and size 0.
using VolumeIdentifier = std::function<std::unique_ptr<IVolume>(IStorageDevice* device, int64_t firstSector)>;

}  // namespace keldrin
