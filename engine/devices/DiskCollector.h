// The disks of the machine, and disk images put in the same list.
#pragma once

#include <memory>
#include <string>

#include "engine/devices/StorageDisk.h"

namespace keldrin {

class CCollectDiskDevice {
  public:
    // Appends every disk of the machine's disk list (platform/DiskList.h) that opens, in list order,
    // with its display name and bus from sysfs. A disk that does not open is skipped; the others keep
    // their numbers.
    static void CollectDiskDevice(DiskDeviceList& disks);
};

// A disk-image device (or any other) as a disk of the list, named by its path.
StorageDisk MakeImageDisk(std::unique_ptr<IStorageDevice> device, const std::string& path);

}  // namespace keldrin
