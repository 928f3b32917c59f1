#include "cli/DestinationCheck.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "engine/devices/SameSource.h"
#include "platform/DriveSpace.h"

namespace keldrin::cli {
namespace {

// The /sys/devices path of a block device number; empty when unknown.
std::string SysfsPath(uint64_t device) {
    const std::string link =
        "/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device));
    char resolved[PATH_MAX];
    if (!realpath(link.c_str(), resolved)) return {};
    return resolved;
}

bool Within(const std::string& inner, const std::string& outer) {
    return !outer.empty() && inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
           inner[outer.size()] == '/';
}

}  // namespace

bool DestinationOnSource(const std::string& sourcePath, const std::string& folder) {
    const uint64_t destination = DestinationDeviceNumber(folder);
    struct stat st {};
    if (stat(sourcePath.c_str(), &st) != 0) return false;
    // Writing beside an image file never touches the image's own blocks.
    if (!S_ISBLK(st.st_mode)) return false;
    const uint64_t source = st.st_rdev;
    if (destination == 0) return false;
    if (destination == source) return true;
    // A partition lies below its disk in sysfs.
    const std::string sourceSys = SysfsPath(source);
    const std::string destinationSys = SysfsPath(destination);
    return Within(destinationSys, sourceSys) || Within(sourceSys, destinationSys);
}

int64_t FreeBytes(const std::string& folder) {
    const platform::DriveSpace space = platform::QueryDriveSpace(folder);
    if (!space.known) return -1;
    return space.available > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX
                                                              : static_cast<int64_t>(space.available);
}

}  // namespace keldrin::cli
