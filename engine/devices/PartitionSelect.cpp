#include "engine/devices/PartitionSelect.h"

#include <vector>

#include "engine/devices/PartitionTableAnalyze.h"

namespace keldrin {

bool FindBasicPartition(IStorageDevice* disk, int number, const VolumeIdentifier& identify,
                        int64_t& firstSector, int64_t& sectorCount) {
    std::vector<PartitionRecord> records;
    CPartitionTableAnalyze::ReadBasicPartitions(disk, identify, records);
    for (const PartitionRecord& r : records) {
        if (r.number != number) continue;
        firstSector = r.startSector;
        sectorCount = r.sectorCount;
        return true;
    }
    return false;
}

std::unique_ptr<CBasicPartitionDevice> OpenBasicPartition(IStorageDevice* disk, int number,
                                                          const VolumeIdentifier& identify) {
    int64_t first = 0, count = 0;
    if (!FindBasicPartition(disk, number, identify, first, count)) return nullptr;
    return std::make_unique<CBasicPartitionDevice>(disk, first, count);
}

}  // namespace keldrin
