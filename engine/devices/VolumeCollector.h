// The volume list of the device pages: the basic partitions of every disk, the dynamic volumes and the
// floppy drives, in display order. The collectors hold no state.
#pragma once

#include "engine/devices/StorageDisk.h"
#include "engine/devices/VolumeEntry.h"
#include "engine/devices/VolumeIdentifier.h"

namespace keldrin {

class CCollectBasicPartition {
  public:
    // For every disk in list order, one entry per partition record in record order, with the
    // partition's mount point, member slot 0 on the disk and the disk's display name as disk text.
    static void CollectBasicPartition(DiskDeviceList& disks, VolumeList& entries,
                                      const VolumeIdentifier& identify);
};

class CCollectDynamicVolume {
  public:
    static void CollectDynamicVolume(DiskDeviceList& disks, VolumeList& entries);
};

class CCollectFloppyDiskDevice {
  public:
    // fd0, then fd1, while the drive is present and holds a medium.
    static void CollectFloppyDiskDevice(VolumeList& entries, const VolumeIdentifier& identify);
};

class CCollectAllBasicPartitionandDynamicVolume {
  public:
    // Nothing when the disk list is empty; otherwise basic partitions, dynamic volumes, floppies, then
    // the sort.
    static void CollectAllBasicPartitionandDynamicVolume(DiskDeviceList& disks, VolumeList& entries,
                                                         const VolumeIdentifier& identify);
    // Mounted volumes first, by mount point; then the others in the order they were collected.
    static void sort(VolumeList& entries);
};

}  // namespace keldrin
