#include <gtest/gtest.h>

#include "engine/ext2/Ext2BlockMapper.h"
#include "engine/ext2/Ext2DataRunList.h"
#include "tests/ext2/Ext2TestSupport.h"

namespace keldrin::ext2 {
namespace {

using test::Bytes;
using test::Put32;

constexpr uint32_t kBlock = 1024;
constexpr uint64_t kPer = kBlock / 4;

// A volume of 8192 blocks of 1 KiB whose block contents the test writes itself.
class MapperVolume {
  public:
    MapperVolume() : device_(Bytes(size_t{8192} * kBlock, 0)) {
        Bytes sb = test::MakeSuperBlock();
        Bytes descriptors(1024, 0);
        Put32(descriptors, 0, 3);
        Put32(descriptors, 4, 4);
        Put32(descriptors, 8, 5);
        fs_ = std::make_unique<CExt2FileSystem>(&device_, 0, CExt2SuperBlock(sb), descriptors);
    }
    void Pointer(uint32_t block, uint64_t entry, uint32_t value) {
        Put32(device_.bytes(), block * kBlock + entry * 4, value);
    }
    const CExt2FileSystem& fs() const { return *fs_; }

  private:
    test::MemoryDevice device_;
    std::unique_ptr<CExt2FileSystem> fs_;
};

CExt2Inode InodeWith(std::initializer_list<std::pair<int, uint32_t>> pointers) {
    CExt2Inode inode;
    inode.number = 12;
    Bytes bytes(128, 0);
    for (auto [index, value] : pointers) Put32(bytes, 0x28 + 4 * index, value);
    std::copy(bytes.begin(), bytes.end(), inode.bytes.begin());
    return inode;
}

TEST(Ext2BlockMapper, EveryLevelWithOneCachedBlockPerDepth) {
    MapperVolume v;
    for (uint64_t e = 0; e < kPer; ++e) {
        v.Pointer(200, e, 300 + static_cast<uint32_t>(e));   // single indirect
        v.Pointer(202, e, 1000 + static_cast<uint32_t>(e));  // double, first leaf
        v.Pointer(203, e, 2000 + static_cast<uint32_t>(e));  // double, third leaf
        v.Pointer(206, e, 4000 + static_cast<uint32_t>(e));  // triple, first leaf
    }
    v.Pointer(201, 0, 202);
    v.Pointer(201, 2, 203);  // entry 1 stays 0: a hole of a whole leaf
    v.Pointer(204, 0, 205);
    v.Pointer(205, 0, 206);
    CExt2Inode inode = InodeWith({{0, 100}, {11, 111}, {12, 200}, {13, 201}, {14, 204}});
    CExt2BlockMapper mapper(v.fs(), inode);

    struct Case {
        uint64_t k;
        uint32_t block;
    };
    const uint64_t single = 12, dbl = 12 + kPer, triple = 12 + kPer + kPer * kPer;
    const Case cases[] = {
        {0, 100},
        {11, 111},
        {single, 300},
        {single + kPer - 1, 300 + kPer - 1},
        {dbl, 1000},
        {dbl + kPer - 1, 1000 + kPer - 1},
        {dbl + 2 * kPer + 5, 2005},
        {triple, 4000},
        {triple + 17, 4017},
        {1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(mapper.Map(c.k), c.block) << "k=" << c.k;

    // A fresh mapper walking one leaf of the double tree reads its two blocks once each.
    CExt2BlockMapper walk(v.fs(), inode);
    for (uint64_t k = dbl; k < dbl + kPer; ++k) ASSERT_EQ(walk.Map(k), 1000 + (k - dbl));
    EXPECT_EQ(walk.IndirectReads(), 2u);
    // Moving to the next leaf re-reads the leaf depth only.
    walk.Map(dbl + 2 * kPer);
    EXPECT_EQ(walk.IndirectReads(), 3u);
}

TEST(Ext2BlockMapper, HolesAndPointersOutsideTheVolume) {
    MapperVolume v;
    v.Pointer(201, 0, 202);
    v.Pointer(202, 3, 9999);  // past the 8192 blocks
    CExt2Inode inode = InodeWith({{0, 8192}, {13, 201}, {14, 0}});
    CExt2BlockMapper mapper(v.fs(), inode);
    uint64_t run = 0;
    EXPECT_EQ(mapper.Map(0, &run), 0u);
    EXPECT_EQ(run, 1u);
    // No single-indirect block: the whole single tree is one hole.
    EXPECT_EQ(mapper.Map(12, &run), 0u);
    EXPECT_EQ(run, kPer);
    // An all-zero leaf: the rest of it.
    const uint64_t dbl = 12 + kPer;
    EXPECT_EQ(mapper.Map(dbl + 3, &run), 0u);
    EXPECT_EQ(run, kPer - 3);
    // A missing second leaf: the rest of that leaf's range.
    EXPECT_EQ(mapper.Map(dbl + kPer + 10, &run), 0u);
    EXPECT_EQ(run, kPer - 10);
    // No triple tree; and nothing past what the pointers address.
    EXPECT_EQ(mapper.Map(12 + kPer + kPer * kPer, &run), 0u);
    EXPECT_EQ(run, kPer * kPer * kPer);
    EXPECT_EQ(mapper.Map(mapper.AddressableBlocks()), 0u);
}

TEST(Ext2RunBuilder, MergesContiguousRunsAndHoles) {
    Ext2RunBuilder runs;
    runs.Add(10, 1);
    runs.Add(11, 1);
    runs.Add(0, 2);
    runs.Add(0, 3);
    runs.Add(12, 1);  // not contiguous with 10..11 across the hole
    runs.Add(40, 1);
    const std::vector<Extent> expected = {{10, 2}, {0, 5}, {12, 1}, {40, 1}};
    EXPECT_EQ(runs.Runs(), expected);
    EXPECT_TRUE(runs.HasHoles());
}

}  // namespace
}  // namespace keldrin::ext2
