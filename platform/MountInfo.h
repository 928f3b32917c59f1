// The mounted file systems of this process, from /proc/self/mountinfo. A volume's mount point stands in
// for its drive letter: it is found by the device number (major:minor) of the volume.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace keldrin::platform {

struct MountEntry {
    uint64_t deviceNumber = 0;  // makedev(major, minor)
    std::string root;           // the folder of the file system mounted here ("/" unless a bind mount)
    std::string mountPoint;
    std::string fsType;
    std::string source;  // "/dev/sda1", or what the file system names ("proc", "tmpfs")
};

// The file ReadMountInfo() reads, /proc/self/mountinfo unless a test points it elsewhere. Safe to call
// from any thread.
void SetMountInfoPath(const std::string& path);
void ResetMountInfoPath();

// Lines that do not have the mountinfo form are left out; the octal escapes of paths (\040) are undone.
std::vector<MountEntry> ParseMountInfo(std::string_view text);
// Empty when the file cannot be read.
std::vector<MountEntry> ReadMountInfo();

// Where the device is mounted: its first mount of the whole file system (root "/"), else its first
// mount of any folder of it; empty when it is not mounted or the number is 0.
std::string FindMountPoint(const std::vector<MountEntry>& mounts, uint64_t deviceNumber);

}  // namespace keldrin::platform
