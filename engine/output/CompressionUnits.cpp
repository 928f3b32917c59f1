#include "engine/output/CompressionUnits.h"

#include <algorithm>

namespace keldrin::output {
namespace {

void Classify(CompressionUnit& unit, bool full) {
    if (!full) {
        unit.kind = UnitKind::kPlain;
        return;
    }
    const bool startsSparse = !unit.pieces.empty() && unit.pieces.front().IsSparse();
    const bool anySparse =
        std::any_of(unit.pieces.begin(), unit.pieces.end(), [](const Extent& e) { return e.IsSparse(); });
    unit.kind = startsSparse ? UnitKind::kZeros : anySparse ? UnitKind::kCompressed : UnitKind::kPlain;
}

}  // namespace

std::vector<CompressionUnit> SplitIntoUnits(const std::vector<Extent>& extents, uint64_t unitClusters) {
    std::vector<CompressionUnit> units;
    if (unitClusters == 0) return units;
    CompressionUnit current;
    for (const Extent& extent : extents) {
        uint64_t start = extent.start;
        uint64_t left = extent.length;
        while (left > 0) {
            const uint64_t take = std::min(left, unitClusters - current.clusters);
            current.pieces.push_back({start, take});
            current.clusters += take;
            left -= take;
            if (!extent.IsSparse()) start += take;
            if (current.clusters == unitClusters) {
                Classify(current, true);
                units.push_back(std::move(current));
                current = {};
            }
        }
    }
    if (current.clusters > 0) {
        Classify(current, false);
        units.push_back(std::move(current));
    }
    return units;
}

}  // namespace keldrin::output
