#include "engine/ntfs/MftMap.h"

#include <algorithm>

namespace keldrin::ntfs {

int64_t MftMap::SectorOf(int64_t recordNumber, int64_t index, int64_t& contiguous) const {
    if (!geometry_.IsUsable() || recordNumber < 0 || recordNumber > kMaxRecordNumber) return -1;
    const int64_t perRecord = geometry_.SectorsPerRecord();
    const int64_t perCluster = geometry_.sectorsPerCluster;
    // 48-bit record numbers times at most 128 sectors stay far inside 63 bits.
    const int64_t mftSector = recordNumber * perRecord + index;
    const int64_t lcn = VcnToLcn(runs_, mftSector / perCluster);
    int64_t sector = 0;
    if (lcn < 0 || !ClusterToSector(geometry_, lcn, sector)) return -1;
    const int64_t within = mftSector % perCluster;
    if (sector > INT64_MAX - within) return -1;
    contiguous = perCluster - within;
    return sector + within;
}

int64_t MftMap::RecordSector(int64_t recordNumber) const {
    int64_t contiguous = 0;
    return SectorOf(recordNumber, 0, contiguous);
}

bool MftMap::ReadRecord(IStorageDevice& device, int64_t recordNumber, std::span<uint8_t> out) const {
    const int64_t perRecord = geometry_.SectorsPerRecord();
    if (out.size() < static_cast<size_t>(perRecord) * kSectorSize) return false;
    int64_t done = 0;
    while (done < perRecord) {
        int64_t contiguous = 0;
        const int64_t sector = SectorOf(recordNumber, done, contiguous);
        if (sector < 0) return false;
        const int64_t count = std::min(contiguous, perRecord - done);
        if (!device.ReadSectors(out.data() + done * kSectorSize, sector, count)) return false;
        done += count;
    }
    return true;
}

}  // namespace keldrin::ntfs
