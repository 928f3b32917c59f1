#include <gtest/gtest.h>

#include "engine/output/CompressionUnits.h"

namespace keldrin::output {
namespace {

constexpr uint64_t S = kSparseStart;

TEST(CompressionUnits, KindsFollowWhereTheSparseClustersLie) {
    struct Case {
        const char* what;
        std::vector<Extent> extents;
        std::vector<UnitKind> kinds;
    };
    const Case cases[] = {
        {"16 real clusters are stored plainly", {{100, 16}}, {UnitKind::kPlain}},
        {"real then sparse is compressed", {{100, 5}, {S, 11}}, {UnitKind::kCompressed}},
        {"sparse from the start is zeros", {{S, 16}}, {UnitKind::kZeros}},
        {"a run across two units", {{100, 20}, {S, 12}}, {UnitKind::kPlain, UnitKind::kCompressed}},
        {"fragments inside one compressed unit", {{100, 2}, {300, 3}, {S, 11}}, {UnitKind::kCompressed}},
        {"an unfinished last unit is plain", {{100, 16}, {200, 4}}, {UnitKind::kPlain, UnitKind::kPlain}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<CompressionUnit> units = SplitIntoUnits(c.extents);
        std::vector<UnitKind> kinds;
        for (const CompressionUnit& u : units) kinds.push_back(u.kind);
        EXPECT_EQ(kinds, c.kinds) << c.what;
    }
}

TEST(CompressionUnits, PiecesKeepTheirClusters) {
    const std::vector<CompressionUnit> units = SplitIntoUnits({{100, 20}, {S, 12}});
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].pieces, (std::vector<Extent>{{100, 16}}));
    EXPECT_EQ(units[1].pieces, (std::vector<Extent>{{116, 4}, {S, 12}}));
    EXPECT_EQ(units[1].clusters, 16u);
}

}  // namespace
}  // namespace keldrin::output
