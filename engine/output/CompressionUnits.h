// How an NTFS compressed file's extents fall into compression units of 16 clusters: each unit is
// stored plainly, compressed (real clusters, then a sparse tail) or not at all (all sparse).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/model/Extent.h"

namespace keldrin::output {

inline constexpr uint64_t kCompressionUnitClusters = 16;

enum class UnitKind { kPlain = 0, kCompressed = 1, kZeros = 2 };

struct CompressionUnit {
    UnitKind kind = UnitKind::kPlain;
    uint64_t clusters = 0;       // the clusters of the file the unit stands for
    std::vector<Extent> pieces;  // the unit's extents, sparse ones included, in file order
};

// A last unit that the extents do not fill is plain.
std::vector<CompressionUnit> SplitIntoUnits(const std::vector<Extent>& extents,
                                            uint64_t unitClusters = kCompressionUnitClusters);

}  // namespace keldrin::output
