// One disk of the disk list: its device, owned, with what the system tells about it. A disk image
// opened as a disk has the same form, with no kernel name and no bus.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin {

struct StorageDisk {
    std::unique_ptr<IStorageDevice> device;
    int number = -1;            // in the machine's disk list; -1 for an image
    std::string kernelName;     // "sda", "nvme0n1", "loop0"; empty for an image
    std::string devicePath;     // "/dev/sda", or the image file
    uint64_t deviceNumber = 0;  // makedev(major, minor); 0 for an image
    std::string busName;        // "usb", "ata", "nvme", "mmc", "scsi", "virtio", or empty
    bool usb = false;
    std::string displayName;  // at most 49 characters
};

// Owns its disks; volume entries and partition windows point into it, so it outlives them.
using DiskDeviceList = std::vector<StorageDisk>;

}  // namespace keldrin
