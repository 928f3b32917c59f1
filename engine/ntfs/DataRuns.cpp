#include "engine/ntfs/DataRuns.h"

#include <algorithm>

namespace keldrin::ntfs {
namespace {

// The first unnamed $DATA at or after index; index is left on it.
std::optional<Attribute> NextUnnamedData(const AttributeSource& source, int& index, int64_t* sector) {
    for (;; ++index) {
        auto a = source.FindAttribute(kAttrData, index, sector);
        if (!a || !a->IsNamed()) return a;
    }
}

int64_t CeilDiv(int64_t a, int64_t b) {
    return a / b + (a % b != 0 ? 1 : 0);
}

}  // namespace

bool ReadDataRuns(const AttributeSource& source, DataRuns& out) {
    out = {};
    bool accepted = false;
    for (int index = 0;; ++index) {
        const auto a = NextUnnamedData(source, index, nullptr);
        if (!a || a->IsResident()) break;
        const auto pairs = a->MappingPairs();
        const int64_t clusters = SumRunLengths(pairs);
        if (clusters <= 0) break;
        const int64_t first = a->FirstVcn();
        const int64_t last = a->LastVcn();
        if (first < 0 || last < first - 1) break;
        if (!a->IsCompressed() && clusters - 1 != last - first) break;
        if (!DecodeMappingPairs(pairs, out.runs, first)) break;
        if (first == 0) out.size = a->DataSize();
        accepted = true;
    }
    std::stable_sort(out.runs.begin(), out.runs.end(),
                     [](const NtfsRun& x, const NtfsRun& y) { return x.vcn < y.vcn; });
    return accepted;
}

bool FindResidentData(const AttributeSource& source, ResidentData& out) {
    int index = 0;
    int64_t sector = -1;
    const auto a = NextUnnamedData(source, index, &sector);
    if (!a || !a->IsResident()) return false;
    out = {sector, a->Offset() + a->ValueOffset(), a->ValueLength()};
    return true;
}

uint32_t ClusterSizeFromRecord(const FileRecord& record) {
    DataRuns data;
    if (!ReadDataRuns(record, data)) return 0;
    const int64_t clusters = TotalClusters(data.runs);
    if (data.size <= 0 || clusters <= 0) return 0;
    const int64_t s = CeilDiv(CeilDiv(data.size, clusters), 512);
    for (uint32_t c = 1; c <= 128; c *= 2) {
        if (c >= s) return c;
    }
    return 0;
}

}  // namespace keldrin::ntfs
