#include <vector>

#include "engine/devices/FileSystemTypeName.h"
#include "engine/devices/MountPoints.h"
#include "engine/devices/PartitionTableAnalyze.h"
#include "engine/devices/VolumeCollector.h"
#include "shared/Log.h"

namespace keldrin {

void CCollectBasicPartition::CollectBasicPartition(DiskDeviceList& disks, VolumeList& entries,
                                                   const VolumeIdentifier& identify) {
    for (StorageDisk& disk : disks) {
        if (!disk.device) continue;
        std::vector<PartitionRecord> records;
        if (CPartitionTableAnalyze::ReadBasicPartitions(disk.device.get(), identify, records) > 0)
            AssignMountPoints(disk, records);
        for (PartitionRecord& record : records) {
            VolumeEntry entry;
            entry.kind = kVolumeKindBasic;
            entry.device = std::move(record.device);
            entry.fileSystemType = record.fileSystemType;
            entry.mountPoint = record.mountPoint;
            entry.devicePath = record.devicePath;
            entry.deviceNumber = record.deviceNumber;
            entry.label = record.label;
            entry.isUsb = disk.usb;
            entry.partitionNumber = record.number;
            entry.members[0] = VolumeMember{record.startSector, record.sectorCount, disk.device.get(),
                                            disk.number, disk.kernelName};
            entry.diskText = disk.displayName.substr(0, kMaxDiskTextChars);
            LogInfo("%s  %16s  %16I64d  %16I64d  %16d  %20s\r\n",
                    entry.mountPoint.empty() ? "*" : entry.mountPoint.c_str(),
                    FileSystemTypeName(entry.fileSystemType), static_cast<long long>(record.startSector),
                    static_cast<long long>(record.sectorCount), disk.number, entry.label.c_str());
            entries.push_back(std::move(entry));
        }
    }
}

}  // namespace keldrin
