#include "engine/ntfs/NtfsRuns.h"

#include "engine/model/Extent.h"
#include "engine/ntfs/LeReader.h"

namespace keldrin::ntfs {

namespace {

// Walks the runs under the NTFS rules without storing them; onRun sees each run's length.
template <typename OnRun>
bool WalkPairs(std::span<const uint8_t> bytes, OnRun onRun) {
    const LeReader r(bytes);
    size_t pos = 0;
    int64_t lcn = 0;
    while (pos < bytes.size()) {
        const uint8_t header = bytes[pos];
        if (header == 0) return true;
        const size_t lengthBytes = header & 0x0F;
        const size_t offsetBytes = header >> 4;
        if (lengthBytes == 0 || lengthBytes > kMaxRunFieldBytes || offsetBytes > kMaxRunFieldBytes)
            return false;
        // The run must leave room for at least the terminating header after it.
        if (1 + lengthBytes + offsetBytes >= bytes.size() - pos) return false;
        const uint64_t length = r.Uint(pos + 1, lengthBytes);
        if (length == 0) return false;
        if (offsetBytes > 0) {
            uint64_t delta = r.Uint(pos + 1 + lengthBytes, offsetBytes);
            if ((delta >> (8 * offsetBytes - 1)) & 1) delta |= ~uint64_t{0} << (8 * offsetBytes);
            // Four-byte deltas cannot overflow before the list runs out of bytes.
            lcn += static_cast<int64_t>(delta);
            if (lcn < 0) return false;
        }
        onRun(static_cast<int64_t>(length));
        pos += 1 + lengthBytes + offsetBytes;
    }
    return false;
}

}  // namespace

bool IsValidMappingPairs(std::span<const uint8_t> bytes) {
    return WalkPairs(bytes, [](int64_t) {});
}

bool DecodeMappingPairs(std::span<const uint8_t> bytes, std::vector<NtfsRun>& list, int64_t firstVcn) {
    if (firstVcn < 0 || !IsValidMappingPairs(bytes)) return false;
    std::vector<Extent> extents;
    if (!keldrin::DecodeMappingPairs(bytes.data(), bytes.size(), extents, nullptr, kMaxRunFieldBytes))
        return false;
    std::vector<NtfsRun> runs;
    runs.reserve(extents.size());
    int64_t vcn = firstVcn;
    for (const Extent& e : extents) {
        // Lengths are at most 32 bits wide, so only a huge first VCN can overflow here.
        const int64_t length = static_cast<int64_t>(e.length);
        if (vcn > INT64_MAX - length) return false;
        runs.push_back({e.IsSparse() ? kSparseLcn : static_cast<int64_t>(e.start), vcn, length});
        vcn += length;
    }
    list.insert(list.end(), runs.begin(), runs.end());
    return true;
}

int64_t SumRunLengths(std::span<const uint8_t> bytes) {
    int64_t sum = 0;
    const bool valid = WalkPairs(
        bytes, [&sum](int64_t length) { sum = sum > INT64_MAX - length ? INT64_MAX : sum + length; });
    if (!valid) return 0;
    return sum;
}

int64_t VcnToLcn(const std::vector<NtfsRun>& list, int64_t vcn) {
    for (const NtfsRun& run : list) {
        if (vcn >= run.vcn && vcn - run.vcn < run.length)
            return run.IsSparse() ? -1 : run.lcn + (vcn - run.vcn);
    }
    return -1;
}

int64_t LcnToVcn(const std::vector<NtfsRun>& list, int64_t lcn) {
    for (const NtfsRun& run : list) {
        if (!run.IsSparse() && lcn >= run.lcn && lcn - run.lcn < run.length) return run.vcn + (lcn - run.lcn);
    }
    return -1;
}

int64_t TotalClusters(const std::vector<NtfsRun>& list) {
    int64_t total = 0;
    for (const NtfsRun& run : list) {
        if (run.length < 0 || total > INT64_MAX - run.length) return INT64_MAX;
        total += run.length;
    }
    return total;
}

}  // namespace keldrin::ntfs
