#include "engine/devices/VolumeCollector.h"

#include <algorithm>

#include "engine/devices/ScopeTimer.h"

namespace keldrin {

void CCollectDynamicVolume::CollectDynamicVolume(DiskDeviceList&, VolumeList&) {
    // Dynamic disks give no basic partitions; their volumes come with the dynamic-disk database reader.
}

void CCollectAllBasicPartitionandDynamicVolume::CollectAllBasicPartitionandDynamicVolume(
    DiskDeviceList& disks, VolumeList& entries, const VolumeIdentifier& identify) {
    ScopeTimer timer("CCollectAllBasicPartitionandDynamicVolume::CollectAllBasicPartitionandDynamicVolume");
    if (disks.empty()) return;
    CCollectBasicPartition::CollectBasicPartition(disks, entries, identify);
    CCollectDynamicVolume::CollectDynamicVolume(disks, entries);
    CCollectFloppyDiskDevice::CollectFloppyDiskDevice(entries, identify);
    sort(entries);
}

void CCollectAllBasicPartitionandDynamicVolume::sort(VolumeList& entries) {
    ScopeTimer timer("CCollectAllBasicPartitionandDynamicVolume::sort");
    // Unmounted entries (an empty mount point) sort first and keep their order; they then move behind
    // the mounted ones as one block.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const VolumeEntry& a, const VolumeEntry& b) { return a.mountPoint < b.mountPoint; });
    const auto firstMounted = std::find_if(entries.begin(), entries.end(),
                                           [](const VolumeEntry& e) { return !e.mountPoint.empty(); });
    std::rotate(entries.begin(), firstMounted, entries.end());
}

}  // namespace keldrin
