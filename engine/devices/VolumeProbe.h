// One question to the volume identifier, answered as plain values. An empty identifier, or one that
// breaks its contract and answers null, counts as "not recognised".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"
#include "engine/devices/VolumeIdentifier.h"

namespace keldrin {

// Labels are kept to this many characters (UTF-8 code points).
inline constexpr size_t kMaxLabelChars = 100;

struct ProbedVolume {
    int fileSystemType = kFsUnknown;
    int64_t totalSectors = 0;  // the file system's own size, 0 when it does not tell
    std::string label;

    bool IsRecognised() const { return fileSystemType != kFsUnknown; }
};

ProbedVolume ProbeVolume(const VolumeIdentifier& identify, IStorageDevice* device, int64_t firstSector);

}  // namespace keldrin
