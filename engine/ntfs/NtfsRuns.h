// NTFS run lists: the shared mapping-pairs codec with the NTFS rules on top (fields of at most
// 4 bytes, runs placed by VCN, a non-resident attribute's runs shifted by its first VCN).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace keldrin::ntfs {

inline constexpr int64_t kSparseLcn = -1;  // all ones: the run has no clusters on disk
inline constexpr int kMaxRunFieldBytes = 4;

struct NtfsRun {
    int64_t lcn = 0;
    int64_t vcn = 0;
    int64_t length = 0;  // clusters

    bool IsSparse() const { return lcn == kSparseLcn; }
    friend bool operator==(const NtfsRun&, const NtfsRun&) = default;
};

// Runs end at a zero header byte inside bytes; no field is wider than 4 bytes or a length empty,
// every run leaves a byte after it, and no cluster number falls below 0.
bool IsValidMappingPairs(std::span<const uint8_t> bytes);
// Appends the runs, numbered from firstVcn, to list; on failure appends nothing.
bool DecodeMappingPairs(std::span<const uint8_t> bytes, std::vector<NtfsRun>& list, int64_t firstVcn = 0);
// The clusters the mapping pairs cover; 0 when they are not valid.
int64_t SumRunLengths(std::span<const uint8_t> bytes);

// -1 when no run covers the cluster (a sparse run covers none on disk).
int64_t VcnToLcn(const std::vector<NtfsRun>& list, int64_t vcn);
int64_t LcnToVcn(const std::vector<NtfsRun>& list, int64_t lcn);
int64_t TotalClusters(const std::vector<NtfsRun>& list);

}  // namespace keldrin::ntfs
