#include "engine/devices/MountPoints.h"

#include "platform/BlockTopology.h"
#include "platform/MountInfo.h"

namespace keldrin {

void AssignMountPoints(const StorageDisk& disk, std::vector<PartitionRecord>& records) {
    if (disk.kernelName.empty() || records.empty()) return;
    const std::vector<platform::KernelPartition> parts = platform::ReadKernelPartitions(disk.kernelName);
    const std::vector<platform::MountEntry> mounts = platform::ReadMountInfo();
    for (PartitionRecord& record : records) {
        if (record.number == 0 && record.startSector == 0) {
            record.devicePath = disk.devicePath;
            record.deviceNumber = disk.deviceNumber;
        } else {
            for (const platform::KernelPartition& p : parts) {
                if (p.startSector != record.startSector) continue;
                record.devicePath = p.devicePath;
                record.deviceNumber = p.deviceNumber;
                break;
            }
        }
        record.mountPoint = platform::FindMountPoint(mounts, record.deviceNumber);
    }
}

}  // namespace keldrin
