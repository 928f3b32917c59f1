#include "engine/devices/SameSource.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <vector>

#include "platform/BlockTopology.h"
#include "platform/MountInfo.h"

namespace keldrin {
namespace {

bool Overlaps(int64_t aStart, int64_t aCount, int64_t bStart, int64_t bCount) {
    if (aStart < 0 || bStart < 0 || aCount <= 0 || bCount <= 0) return false;
    // Two values below 2^63 add up below 2^64: the ends cannot wrap.
    const uint64_t aEnd = static_cast<uint64_t>(aStart) + static_cast<uint64_t>(aCount);
    const uint64_t bEnd = static_cast<uint64_t>(bStart) + static_cast<uint64_t>(bCount);
    return static_cast<uint64_t>(aStart) < bEnd && static_cast<uint64_t>(bStart) < aEnd;
}

}  // namespace

bool IsSameSourceDevice(const VolumeEntry& selected, uint64_t destinationDevice) {
    if (selected.isImage || destinationDevice == 0) return false;
    if (selected.deviceNumber == destinationDevice) return true;
    const std::vector<platform::BlockExtent> extents = platform::ResolveBlockExtents(destinationDevice);
    for (const platform::BlockExtent& x : extents) {
        for (const VolumeMember& m : selected.members) {
            if (!m.disk || m.diskKernelName.empty() || m.diskKernelName != x.diskName) continue;
            if (Overlaps(x.startSector, x.sectors, m.startSector, m.sectorCount)) return true;
        }
    }
    return false;
}

bool IsSameSourceDevice(const StorageDisk& selectedDisk, uint64_t destinationDevice) {
    if (selectedDisk.kernelName.empty() || destinationDevice == 0) return false;
    if (selectedDisk.deviceNumber == destinationDevice) return true;
    for (const platform::BlockExtent& x : platform::ResolveBlockExtents(destinationDevice))
        if (x.diskName == selectedDisk.kernelName) return true;
    return false;
}

uint64_t DestinationDeviceNumber(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path at = path.empty() ? fs::path(".") : fs::path(path);
    struct stat st {};
    // The folder may not exist yet: the files will land on the nearest parent that does.
    while (::stat(at.c_str(), &st) != 0) {
        fs::path parent = at.parent_path();
        if (parent.empty()) parent = ".";
        if (parent == at) return 0;
        at = parent;
    }
    if (major(st.st_dev) != 0) return st.st_dev;
    for (const platform::MountEntry& m : platform::ReadMountInfo()) {
        if (m.deviceNumber != st.st_dev || !m.source.starts_with("/dev/")) continue;
        struct stat source {};
        if (::stat(m.source.c_str(), &source) == 0 && S_ISBLK(source.st_mode)) return source.st_rdev;
    }
    return st.st_dev;
}

bool IsSameSource(const VolumeEntry& selected, const std::string& destinationFolder) {
    return IsSameSourceDevice(selected, DestinationDeviceNumber(destinationFolder));
}

bool IsSameSource(const StorageDisk& selectedDisk, const std::string& destinationFolder) {
    return IsSameSourceDevice(selectedDisk, DestinationDeviceNumber(destinationFolder));
}

}  // namespace keldrin
