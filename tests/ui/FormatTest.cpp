#include <gtest/gtest.h>

#include <cstdint>

#include "ui/controller/Format.h"
#include "ui/dialogs/ProgressScale.h"

namespace keldrin::ui {
namespace {

constexpr int64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024, kTiB = kGiB * 1024;

TEST(FormatTest, SizesAndRunningTotals) {
    struct Case {
        int64_t bytes;
        const char* size;
        const char* running;
    };
    const Case cases[] = {
        {0, "0.00 KB", "0 Byte"},
        {-5, "0.00 KB", "-5 Byte"},
        {1023, "1.00 KB", "1023 Byte"},
        {1024, "1.00 KB", "1.00 KB"},
        {kMiB - 1, "1024.00 KB", "1024.00 KB"},
        {kMiB, "1.00 MB", "1.00 MB"},
        {kGiB - 1, "1024.00 MB", "1024.00 MB"},
        {kGiB, "1.00 GB", "1.00 GB"},
        {kTiB, "1.00 TB", "1024.00 GB"},
        {5 * kTiB / 2, "2.50 TB", "2560.00 GB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSize(c.bytes), c.size) << c.bytes;
        EXPECT_EQ(FormatRunningTotal(c.bytes), c.running) << c.bytes;
    }
}

TEST(FormatTest, SectorCountsOfTwoTebibytesAndMoreDoNotWrap) {
    EXPECT_EQ(FormatSectors(2048), "1.00 MB");
    EXPECT_EQ(FormatSectors(int64_t{1} << 32), "2.00 TB");
    EXPECT_EQ(FormatSectors(int64_t{3} << 32), "6.00 TB");
    EXPECT_EQ(FormatSectors(INT64_MAX), FormatSize(INT64_MAX));
}

TEST(FormatTest, Durations) {
    struct Case {
        int64_t ms;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00:00"},        {999, "00:00:00"},     {59999, "00:00:59"},
        {60000, "00:01:00"},    {3599999, "00:59:59"}, {3600000, "01:00:00"},
        {90061000, "25:01:01"}, {-1, "00:00:00"},      {int64_t{360000} * 1000000, "100000:00:00"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDuration(c.ms), c.text) << c.ms;
    EXPECT_EQ(FormatDurationSeconds(3661), "01:01:01");
}

TEST(FormatTest, RemainingTimeMovesInTenthsAndKeepsItsEstimateWithoutProgress) {
    CRemainingTimeEstimator estimator;
    estimator.Start(1000, 10000);
    EXPECT_EQ(estimator.GetRemaining(), 0);
    estimator.Update(250, 11050);  // 1.05 s for a quarter: 3 × 1.0 s left, in tenths
    EXPECT_EQ(estimator.GetRemaining(), 3000);
    estimator.Update(0, 20000);
    EXPECT_EQ(estimator.GetRemaining(), 3000);
    estimator.Update(1000, 12000);
    EXPECT_EQ(estimator.GetRemaining(), 0);
    // Capacities past 32 bits: 6 TiB in bytes, an hour for the first TiB.
    estimator.Start(6 * kTiB, 0);
    estimator.Update(kTiB, 3600000);
    EXPECT_EQ(estimator.GetRemaining(), 5 * 3600000);
}

TEST(FormatTest, ProgressBarsCountInMebibytesFromOneGibibyte) {
    EXPECT_EQ(BarRange(0), 1);
    EXPECT_EQ(BarRange(kGiB - 1), kGiB - 1);
    EXPECT_EQ(BarRange(kGiB), 1024);
    EXPECT_EQ(BarValue(kGiB / 2, kGiB), 512);
    EXPECT_LE(BarRange(INT64_MAX), INT32_MAX);
    EXPECT_EQ(BarValue(INT64_MAX, INT64_MAX), BarRange(INT64_MAX));
    EXPECT_EQ(BarValue(-3, 100), 0);
    EXPECT_EQ(BarValue(300, 100), 100);
}

}  // namespace
}  // namespace keldrin::ui
