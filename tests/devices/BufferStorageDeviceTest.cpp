#include <gtest/gtest.h>

#include <vector>

#include "engine/devices/BufferStorageDevice.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

constexpr int64_t kBlock = 4;
constexpr int64_t kBlocks = 3;

// A ring starting at sector 100, fed with the pattern of blocks 0 .. appended - 1.
struct Ring {
    explicit Ring(int appended) {
        EXPECT_TRUE(ring.InitRing(100, kBlock, kBlocks));
        for (int b = 0; b < appended; ++b) {
            const std::vector<unsigned char> block = test::Pattern(100 + b * kBlock, kBlock);
            EXPECT_TRUE(ring.AppendBlock(block.data()));
        }
    }
    CBufferStorageDevice ring;
};

TEST(BufferStorageDevice, FillsThenSlides) {
    Ring r(0);
    EXPECT_FALSE(r.ring.IsFull());
    EXPECT_EQ(r.ring.GetTotalSectors(), 0);
    EXPECT_EQ(r.ring.GetFirstSector(), 100);
    const std::vector<unsigned char> block = test::Pattern(0, kBlock);
    for (int b = 1; b <= 5; ++b) {
        ASSERT_TRUE(r.ring.AppendBlock(block.data()));
        EXPECT_EQ(r.ring.IsFull(), b >= kBlocks) << b;
        EXPECT_EQ(r.ring.GetTotalSectors(), std::min<int64_t>(b, kBlocks) * kBlock) << b;
        EXPECT_EQ(r.ring.GetFirstSector(), 100 + std::max<int64_t>(0, b - kBlocks) * kBlock) << b;
    }
}

TEST(BufferStorageDevice, ReadsOfAFullRingAreOldestToNewestAcrossTheWrap) {
    for (int appended : {3, 4, 5, 7}) {
        SCOPED_TRACE(appended);
        Ring r(appended);
        const int64_t first = r.ring.GetFirstSector();
        const int64_t held = kBlock * kBlocks;
        // Every start and length inside the ring, so each wrap position is crossed.
        for (int64_t s = first; s < first + held; ++s) {
            for (int64_t n = 1; s + n <= first + held; ++n) {
                std::vector<unsigned char> buffer(n * kSectorSize);
                ASSERT_TRUE(r.ring.ReadSectors(buffer.data(), s, n)) << s << "+" << n;
                ASSERT_EQ(buffer, test::Pattern(s, n)) << s << "+" << n;
            }
        }
    }
}

TEST(BufferStorageDevice, ReadsOfARingNotYetFull) {
    Ring r(2);
    std::vector<unsigned char> buffer(8 * kSectorSize);
    ASSERT_TRUE(r.ring.ReadSectors(buffer.data(), 100, 8));
    EXPECT_EQ(buffer, test::Pattern(100, 8));
    ASSERT_TRUE(r.ring.ReadSectors(buffer.data(), 105, 2));
    EXPECT_EQ(std::vector<unsigned char>(buffer.begin(), buffer.begin() + 2 * kSectorSize),
              test::Pattern(105, 2));
}

TEST(BufferStorageDevice, ReadsOutsideWhatIsHeldFail) {
    Ring r(4);  // holds 104 .. 115
    std::vector<unsigned char> buffer(16 * kSectorSize);
    struct Case {
        int64_t first, count;
    } refused[] = {{103, 1},  {103, 2},  {115, 2},       {116, 1},
                   {104, 13}, {104, -1}, {INT64_MAX, 2}, {INT64_MIN, 1}};
    for (const Case& c : refused)
        EXPECT_FALSE(r.ring.ReadSectors(buffer.data(), c.first, c.count)) << c.first;
    EXPECT_TRUE(r.ring.ReadSectors(buffer.data(), 104, 12));
}

TEST(BufferStorageDevice, BlocksHeldInPlaceReadLikeCopies) {
    // Which of the seven appended blocks are kept where they lie (bit b for block b): none, all,
    // and mixes that put both kinds on either side of the wrap.
    for (unsigned inPlace : {0x00u, 0x7Fu, 0x55u, 0x2Au, 0x60u}) {
        SCOPED_TRACE(inPlace);
        CBufferStorageDevice ring;
        ASSERT_TRUE(ring.InitRing(100, kBlock, kBlocks));
        std::vector<std::vector<unsigned char>> blocks;
        for (int b = 0; b < 7; ++b) blocks.push_back(test::Pattern(100 + b * kBlock, kBlock));
        for (int b = 0; b < 7; ++b) {
            std::vector<unsigned char> scratch = blocks[b];
            if (inPlace >> b & 1) {
                ASSERT_TRUE(ring.AppendBlockInPlace(blocks[b].data()));
            } else {
                // A copied block must not depend on the caller's buffer afterwards.
                ASSERT_TRUE(ring.AppendBlock(scratch.data()));
                scratch.assign(scratch.size(), 0xEE);
            }
        }
        const int64_t first = ring.GetFirstSector();
        ASSERT_EQ(first, 116);
        for (int64_t s = first; s < first + kBlock * kBlocks; ++s) {
            for (int64_t n = 1; s + n <= first + kBlock * kBlocks; ++n) {
                std::vector<unsigned char> buffer(n * kSectorSize);
                ASSERT_TRUE(ring.ReadSectors(buffer.data(), s, n)) << s << "+" << n;
                ASSERT_EQ(buffer, test::Pattern(s, n)) << s << "+" << n;
            }
        }
    }
    CBufferStorageDevice ring;
    EXPECT_FALSE(ring.AppendBlockInPlace(test::Pattern(0, kBlock).data()));  // not initialised
    ASSERT_TRUE(ring.InitRing(0, kBlock, kBlocks));
    EXPECT_FALSE(ring.AppendBlockInPlace(nullptr));
    EXPECT_EQ(ring.GetTotalSectors(), 0);
}

TEST(BufferStorageDevice, UnusableUntilInitialised) {
    CBufferStorageDevice ring;
    unsigned char buffer[kSectorSize] = {};
    EXPECT_FALSE(ring.ReadSectors(buffer, 0, 1));
    EXPECT_FALSE(ring.AppendBlock(buffer));
    EXPECT_FALSE(ring.IsFull());
    struct Case {
        int64_t first, blockSectors, blockCount;
    } refused[] = {{0, 0, 20}, {0, 1000, 0}, {0, -1, 20}, {-1, 1000, 20}, {0, INT64_MAX, 2}};
    for (const Case& c : refused) {
        EXPECT_FALSE(ring.InitRing(c.first, c.blockSectors, c.blockCount)) << c.blockSectors;
        EXPECT_FALSE(ring.AppendBlock(buffer));
    }
}

}  // namespace
}  // namespace keldrin
