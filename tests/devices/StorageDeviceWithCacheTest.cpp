#include <gtest/gtest.h>

#include <vector>

#include "engine/devices/StorageDeviceWithCache.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

using test::SectorRead;

constexpr int64_t kBlock = 10;
constexpr int64_t kTotal = 35;  // three whole blocks and one of 5 sectors

struct CacheFixture : testing::Test {
    CacheFixture() { EXPECT_TRUE(cache.SetBlockSize(kBlock)); }

    // Loads block index and forgets the parent reads that took.
    void Load(int64_t index) {
        ASSERT_TRUE(cache.LoadBlock(index));
        parent.reads.clear();
    }

    test::MemoryDevice parent{kTotal};
    CStorageDeviceWithCache cache{&parent};
};

TEST_F(CacheFixture, DefaultBlockIsAThousandSectors) {
    test::MemoryDevice big(2500);
    CStorageDeviceWithCache fresh(&big);
    EXPECT_EQ(fresh.GetBlockSize(), kDefaultCacheBlockSectors);
    EXPECT_EQ(fresh.GetLoadedBlock(), -1);
    EXPECT_EQ(fresh.GetTotalSectors(), 2500);
    ASSERT_TRUE(fresh.LoadBlock(2));
    EXPECT_EQ(big.reads, (std::vector<SectorRead>{{2000, 500}}));
}

TEST_F(CacheFixture, ValidBlocks) {
    for (int64_t i : {0, 1, 2, 3}) EXPECT_TRUE(cache.IsValidBlock(i)) << i;
    for (int64_t i : {-1, 4, 100}) EXPECT_FALSE(cache.IsValidBlock(i)) << i;
    EXPECT_FALSE(cache.LoadBlock(4));
    EXPECT_FALSE(cache.SetBlockSize(0));
    EXPECT_FALSE(cache.IsValidBlock(0));
    EXPECT_FALSE(cache.LoadBlock(0));
    EXPECT_FALSE(cache.SetBlockSize(-5));
    EXPECT_FALSE(cache.SetBlockSize(INT64_MAX));

    CStorageDeviceWithCache orphan(nullptr);
    EXPECT_FALSE(orphan.LoadBlock(0));
    unsigned char buffer[kSectorSize];
    EXPECT_FALSE(orphan.ReadSectors(buffer, 0, 1));
    EXPECT_EQ(orphan.GetTotalSectors(), 0);
}

TEST_F(CacheFixture, ReadsAroundTheLoadedBlock) {
    struct Case {
        const char* name;
        int64_t block, first, count;
        std::vector<SectorRead> parentReads;
    } cases[] = {
        {"empty window passes through", -1, 3, 4, {{3, 4}}},
        {"inside only", 1, 12, 5, {}},
        {"the whole block", 1, 10, 10, {}},
        {"before and inside", 1, 7, 6, {{7, 3}}},
        {"inside and after", 1, 18, 5, {{20, 3}}},
        {"before, inside and after", 1, 8, 14, {{8, 2}, {20, 2}}},
        {"all before", 2, 3, 5, {{3, 5}}},
        {"ending right at the block", 2, 15, 5, {{15, 5}}},
        {"all after", 0, 12, 5, {{12, 5}}},
        {"short last block", 3, 31, 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.block >= 0) Load(c.block);
        std::vector<unsigned char> buffer(c.count * kSectorSize, 0xAA);
        ASSERT_TRUE(cache.ReadSectors(buffer.data(), c.first, c.count));
        EXPECT_EQ(buffer, test::Pattern(c.first, c.count));
        EXPECT_EQ(parent.reads, c.parentReads);
        parent.reads.clear();
    }
}

TEST_F(CacheFixture, ReadsPastAShortLastBlockGoToTheParent) {
    Load(3);
    std::vector<unsigned char> buffer(6 * kSectorSize);
    // Sectors 35 and on do not exist: the window holds 5 sectors, not a stale or zero tail of 10.
    EXPECT_FALSE(cache.ReadSectors(buffer.data(), 33, 3));
    EXPECT_EQ(parent.reads, (std::vector<SectorRead>{{35, 1}}));
}

TEST_F(CacheFixture, ResultIsTheAndOfTheParentReads) {
    Load(1);
    parent.failAll = true;
    std::vector<unsigned char> buffer(20 * kSectorSize);
    EXPECT_TRUE(cache.ReadSectors(buffer.data(), 10, 10));
    EXPECT_FALSE(cache.ReadSectors(buffer.data(), 5, 10));
    EXPECT_FALSE(cache.ReadSectors(buffer.data(), 15, 10));
    EXPECT_FALSE(cache.ReadSectors(buffer.data(), -1, 2));
}

TEST_F(CacheFixture, FailedLoadLeavesTheWindowEmpty) {
    Load(0);
    parent.failAll = true;
    EXPECT_FALSE(cache.LoadBlock(1));
    EXPECT_EQ(cache.GetLoadedBlock(), -1);
    parent.failAll = false;
    parent.reads.clear();
    std::vector<unsigned char> buffer(2 * kSectorSize);
    ASSERT_TRUE(cache.ReadSectors(buffer.data(), 0, 2));
    EXPECT_EQ(parent.reads, (std::vector<SectorRead>{{0, 2}}));
}

TEST_F(CacheFixture, NewBlockSizeEmptiesTheWindow) {
    Load(1);
    ASSERT_TRUE(cache.SetBlockSize(7));
    EXPECT_EQ(cache.GetLoadedBlock(), -1);
    ASSERT_TRUE(cache.LoadBlock(4));  // 28..34
    EXPECT_EQ(parent.reads, (std::vector<SectorRead>{{28, 7}}));
}

}  // namespace
}  // namespace keldrin
