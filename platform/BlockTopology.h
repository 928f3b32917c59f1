// What sysfs tells about the machine's block devices: a disk's maker, model and bus, its kernel
// partitions, and which disk extents lie under any block device (a partition, or a device-mapper or md
// volume built on partitions). Reads <sys>/block and names nodes <dev>/<name>, with the roots of the
// disk list (platform/DiskList.h), so tests can point both at a fake tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace keldrin::platform {

struct DiskFacts {
    std::string vendor;         // device/vendor as the kernel writes it (space-padded), without the newline
    std::string model;          // device/model, likewise
    std::string bus;            // BusFromDevicePath of the disk's sysfs folder
    uint64_t deviceNumber = 0;  // makedev(major, minor) of "dev"; 0 when unknown
};
DiskFacts ReadDiskFacts(const std::string& diskName);

struct KernelPartition {
    std::string name;         // "sda1", "nvme0n1p2"
    int number = 0;           // the "partition" file
    int64_t startSector = 0;  // sysfs counts 512-byte sectors whatever the disk's block size
    int64_t sectors = 0;
    uint64_t deviceNumber = 0;
    std::string devicePath;  // <dev>/<name>
};
// The partitions the kernel made of a disk, by start sector.
std::vector<KernelPartition> ReadKernelPartitions(const std::string& diskName);

// The bus a resolved sysfs device path runs through: "usb", "ata", "nvme", "mmc", "scsi" or "virtio",
// in that precedence (a USB stick also shows a SCSI host, a virtio-scsi disk a virtio device); empty
// for virtual devices such as loop.
std::string BusFromDevicePath(std::string_view path);

struct BlockExtent {
    std::string diskName;
    int64_t startSector = 0;
    int64_t sectors = 0;
};
// The disk extents under the block device with this number: a whole disk is one extent from sector 0,
// a partition its own extent, a device-mapper or md volume the extents of its slaves (followed a few
// levels deep). Empty when sysfs does not know the number.
std::vector<BlockExtent> ResolveBlockExtents(uint64_t deviceNumber);

// The device number sysfs gives a top-level block device ("fd0", "sda"), 0 when unknown.
uint64_t ReadDeviceNumber(const std::string& blockName);

// <dev>/fd<drive>: the floppy drives are fd0 and fd1.
std::string FloppyDevicePath(int drive);

}  // namespace keldrin::platform
