#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/devices/BadSectorMap.h"

namespace keldrin {
namespace {

TEST(BadSectorMap, ReadsThatMeetARange) {
    CBadSectorMap map;
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_FALSE(map.IsRangeBad(0, INT64_MAX));
    map.AddRange(100, 200);  // 100 .. 200, both included
    struct Case {
        int64_t first, end;  // the read's sectors [first, end)
        bool bad;
    } cases[] = {
        {0, 100, false},  {0, 101, true},    {100, 101, true}, {150, 160, true},
        {200, 201, true}, {201, 300, false}, {50, 250, true},  {199, 1000, true},
    };
    for (const Case& c : cases) EXPECT_EQ(map.IsRangeBad(c.first, c.end), c.bad) << c.first << ".." << c.end;
}

TEST(BadSectorMap, RangesAreKeptInOrderAndNeverMerged) {
    CBadSectorMap map;
    map.AddRange(500, 600);
    map.AddRange(100, 200);
    map.AddRange(150, 300);
    map.AddRange(100, 200);
    EXPECT_FALSE(map.IsEmpty());
    EXPECT_EQ(map.GetRanges(), (std::vector<BadSectorRange>{{100, 200}, {100, 200}, {150, 300}, {500, 600}}));
}

TEST(BadSectorMap, ThreadsAddAndQueryAtOnce) {
    CBadSectorMap map;
    std::thread writer([&] {
        for (int64_t i = 0; i < 1000; ++i) map.AddRange(i * 10, i * 10 + 5);
    });
    int hits = 0;
    for (int i = 0; i < 1000; ++i) hits += map.IsRangeBad(0, 1) ? 1 : 0;
    writer.join();
    EXPECT_GE(hits, 0);
    EXPECT_EQ(map.GetRanges().size(), 1000u);
    EXPECT_TRUE(map.IsRangeBad(9995, 9996));
    EXPECT_FALSE(map.IsRangeBad(9996, 10000));
}

}  // namespace
}  // namespace keldrin
