// The drive geometry of a disk or volume, as the partition tools and the floppy probe see it.
#pragma once

#include <cstdint>

namespace keldrin {

enum MediaType : int {
    kMediaUnknown = 0,
    kMediaRemovable = 11,
    kMediaFixed = 12,
};

struct DiskGeometry {
    int64_t cylinders = 0;
    int mediaType = kMediaUnknown;
    uint32_t tracksPerCylinder = 0;
    uint32_t sectorsPerTrack = 0;
    uint32_t bytesPerSector = 0;
};

}  // namespace keldrin
