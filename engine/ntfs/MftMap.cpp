#include "engine/ntfs/MftMap.h"

#include <algorithm>

namespace keldrin::ntfs {

MftMap::MftMap(const NtfsGeometry& geometry, std::vector<NtfsRun> mftRuns)
    : geometry_(geometry), runs_(std::move(mftRuns)) {
    ordered_ = true;
    for (size_t i = 1; i < runs_.size() && ordered_; ++i) {
        const NtfsRun& previous = runs_[i - 1];
        ordered_ = previous.length >= 0 && previous.vcn <= INT64_MAX - previous.length &&
                   previous.vcn + previous.length <= runs_[i].vcn;
    }
}

int64_t MftMap::LcnOf(int64_t vcn) const {
    if (!ordered_) return VcnToLcn(runs_, vcn);
    auto after = std::upper_bound(runs_.begin(), runs_.end(), vcn,
                                  [](int64_t v, const NtfsRun& run) { return v < run.vcn; });
    if (after == runs_.begin()) return -1;
    const NtfsRun& run = *(after - 1);
    if (vcn - run.vcn >= run.length || run.IsSparse()) return -1;
    return run.lcn + (vcn - run.vcn);
}

int64_t MftMap::SectorOf(int64_t recordNumber, int64_t index, int64_t& contiguous) const {
    if (!geometry_.IsUsable() || recordNumber < 0 || recordNumber > kMaxRecordNumber) return -1;
    const int64_t perRecord = geometry_.SectorsPerRecord();
    const int64_t perCluster = geometry_.sectorsPerCluster;
    // 48-bit record numbers times at most 128 sectors stay far inside 63 bits.
    const int64_t mftSector = recordNumber * perRecord + index;
    const int64_t lcn = LcnOf(mftSector / perCluster);
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
