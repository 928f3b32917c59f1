#include <gtest/gtest.h>

#include <vector>

#include "engine/fat/ClusterUseBitMap.h"
#include "engine/fat/FATDataRunList.h"
#include "engine/fat/FATFileProperties.h"

namespace keldrin::fat {
namespace {

TEST(FatRuns, AddRunMergesOnlyContinuingRuns) {
    FatRunBuilder merged;
    merged.AddRun({8, 2});
    merged.AddRun({10, 2});
    EXPECT_EQ(merged.Runs(), (std::vector<Extent>{{8, 4}}));

    FatRunBuilder apart;
    apart.AddRun({8, 1});
    apart.AddRun({10, 2});
    EXPECT_EQ(apart.Runs(), (std::vector<Extent>{{8, 1}, {10, 2}}));

    FatRunBuilder negative;  // a start that is negative as a signed value never grows
    negative.AddRun({~uint64_t{0}, 1});
    negative.AddRun({0, 1});
    EXPECT_EQ(negative.Runs().size(), 2u);
}

TEST(FatRuns, PropertiesKeepTheExactClusters) {
    CFATFileProperties properties("file.bin", 5000, 0x20);
    EXPECT_EQ(properties.GetDataRunList(), nullptr);
    const std::vector<Extent> runs{{0, 1}, {8, 3}, {3, 2}};
    properties.SetStoredRuns(StoredRunList::FromExtents(runs));
    auto list = properties.GetDataRunList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetRunListKind(), kRunListFat);
    EXPECT_EQ(list->GetExtents(), runs);
    EXPECT_EQ(properties.SetMark(0x1FF), 1u);
    EXPECT_EQ(properties.GetMark(), 0xFFu);
    EXPECT_EQ(properties.GetPropertiesKind(), kPropertiesFat);
    EXPECT_EQ(properties.GetTypeCode(), 255u);
}

TEST(FatRuns, DosTimes) {
    // 2020-01-02 12:30:58
    const uint64_t t = DosTimeToFileTime((40 << 9) | (1 << 5) | 2, (12 << 11) | (30 << 5) | 29);
    EXPECT_EQ(t, 132224418580000000ull);
    EXPECT_EQ(DosTimeToFileTime(0, 0), 0u);                          // no date
    EXPECT_EQ(DosTimeToFileTime((40 << 9) | (13 << 5) | 1, 0), 0u);  // month 13
}

TEST(FatRuns, ClusterUseBitMap) {
    std::vector<bool> bits{false, true, false};
    const CClusterUseBitMap map(&bits, 100, 4, 3);
    EXPECT_TRUE(map.IsClusterUsed(99));    // the reserved area
    EXPECT_FALSE(map.IsClusterUsed(100));  // cluster 2
    EXPECT_TRUE(map.IsClusterUsed(107));   // cluster 3
    EXPECT_FALSE(map.IsClusterUsed(111));
    EXPECT_TRUE(map.IsClusterUsed(112));  // past the last cluster
}

}  // namespace
}  // namespace keldrin::fat
