// The space of the file system a destination folder would be written to, standing in for the
// drive of a path. The folder need not exist yet: its nearest existing ancestor answers.
#pragma once

#include <cstdint>
#include <string>

namespace keldrin::platform {

struct DriveSpace {
    bool known = false;      // false when no ancestor of the path could be asked
    bool readOnly = false;   // mounted read-only
    uint64_t total = 0;      // bytes
    uint64_t free = 0;       // bytes free in all
    uint64_t available = 0;  // bytes free to this process
};

DriveSpace QueryDriveSpace(const std::string& folder);

// The nearest folder at or above path that exists; empty when there is none (a relative path
// that leads nowhere, or an empty one).
std::string NearestExistingFolder(const std::string& path);

}  // namespace keldrin::platform
