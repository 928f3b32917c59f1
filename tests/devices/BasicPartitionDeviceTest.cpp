#include <gtest/gtest.h>

#include <vector>

#include "engine/devices/BasicPartitionDevice.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

constexpr int64_t kStart = 100;
constexpr int64_t kCount = 50;

TEST(BasicPartitionDevice, ReadThatRunsPastTheEndGetsZerosForTheRest) {
    test::MemoryDevice disk(1000);
    CBasicPartitionDevice window(&disk, kStart, kCount);
    std::vector<unsigned char> buffer(8 * kSectorSize, 0xAA);
    ASSERT_TRUE(window.ReadSectors(buffer.data(), kCount - 3, 8));
    EXPECT_EQ(disk.reads, (std::vector<test::SectorRead>{{kStart + kCount - 3, 3}}));
    const std::vector<unsigned char> parent = test::Pattern(kStart + kCount - 3, 3);
    EXPECT_TRUE(std::equal(parent.begin(), parent.end(), buffer.begin()));
    EXPECT_TRUE(test::IsZero(buffer.data() + 3 * kSectorSize, 5 * kSectorSize));
}

TEST(BasicPartitionDevice, RequestsTheWindowRefuses) {
    struct Case {
        int64_t first, count;
    } refused[] = {{-1, 1}, {kCount, 1}, {kCount + 10, 1}, {0, kCount + 1}, {0, -1}, {INT64_MIN, 1}};
    test::MemoryDevice disk(1000);
    CBasicPartitionDevice window(&disk, kStart, kCount);
    std::vector<unsigned char> buffer((kCount + 1) * kSectorSize);
    for (const Case& c : refused)
        EXPECT_FALSE(window.ReadSectors(buffer.data(), c.first, c.count)) << c.first;
    EXPECT_TRUE(disk.reads.empty());
}

TEST(BasicPartitionDevice, InsideReadsAreShiftedAndAnswerTheParentsResult) {
    test::MemoryDevice disk(1000);
    CBasicPartitionDevice window(&disk, kStart, kCount);
    EXPECT_EQ(window.GetTotalSectors(), kCount);
    EXPECT_TRUE(window.Open());
    EXPECT_TRUE(window.Close());
    std::vector<unsigned char> buffer(kCount * kSectorSize);
    ASSERT_TRUE(window.ReadSectors(buffer.data(), 0, kCount));
    EXPECT_EQ(buffer, test::Pattern(kStart, kCount));

    disk.failAll = true;
    EXPECT_FALSE(window.ReadSectors(buffer.data(), 10, 2));
    // The zero tail is still written when the parent fails.
    std::fill(buffer.begin(), buffer.end(), 0xAA);
    EXPECT_FALSE(window.ReadSectors(buffer.data(), kCount - 1, 2));
    EXPECT_TRUE(test::IsZero(buffer.data() + kSectorSize, kSectorSize));

    CBasicPartitionDevice orphan(nullptr, 0, 10);
    EXPECT_FALSE(orphan.ReadSectors(buffer.data(), 0, 1));
}

}  // namespace
}  // namespace keldrin
