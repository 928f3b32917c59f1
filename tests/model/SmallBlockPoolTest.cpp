#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "engine/model/SmallBlockPool.h"

namespace keldrin {
namespace {

TEST(SmallBlockPool, BlocksAreDistinctAlignedAndReused) {
    SmallBlockPool pool;
    std::vector<void*> blocks;
    std::set<void*> distinct;
    for (size_t size : {1, 8, 48, 84, 256, 257, 4000}) {
        void* p = pool.Allocate(size);
        ASSERT_TRUE(p);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % SmallBlockPool::kGranule, 0u);
        std::memset(p, 0xAB, size);  // the whole size is usable
        blocks.push_back(p);
        distinct.insert(p);
    }
    EXPECT_EQ(distinct.size(), blocks.size());
    EXPECT_EQ(pool.LiveBlocks(), blocks.size());

    void* keep = pool.Allocate(48);
    pool.Free(blocks[2], 48);
    EXPECT_EQ(pool.Allocate(44), blocks[2]);  // same 8-byte size class
    pool.Free(blocks[2], 44);
    pool.Free(keep, 48);
    const size_t sizes[] = {1, 8, 48, 84, 256, 257, 4000};
    for (size_t i = 0; i < blocks.size(); ++i)
        if (i != 2) pool.Free(blocks[i], sizes[i]);
    EXPECT_EQ(pool.LiveBlocks(), 0u);
}

TEST(SmallBlockPool, ManySlabsAndAFreshStartAfterEverythingIsFreed) {
    SmallBlockPool pool;
    std::vector<void*> blocks;
    for (int i = 0; i < 100000; ++i) blocks.push_back(pool.Allocate(88));  // about 9 slabs
    for (void* p : blocks) ASSERT_TRUE(p);
    for (void* p : blocks) pool.Free(p, 88);
    EXPECT_EQ(pool.LiveBlocks(), 0u);
    void* again = pool.Allocate(88);
    ASSERT_TRUE(again);
    pool.Free(again, 88);
}

// Trees are built on a worker thread and freed on the user-interface thread.
TEST(SmallBlockPool, BlocksMayBeFreedOnAnotherThread) {
    SmallBlockPool pool;
    std::vector<void*> blocks(20000);
    std::thread builder([&] {
        for (void*& p : blocks) p = pool.Allocate(48);
    });
    builder.join();
    std::thread other([&] {
        for (int i = 0; i < 20000; ++i) pool.Free(pool.Allocate(64), 64);
    });
    for (void* p : blocks) pool.Free(p, 48);
    other.join();
    EXPECT_EQ(pool.LiveBlocks(), 0u);
}

// Two builders with caches of their own, a thread without one, blocks freed across threads: the
// count is whole once the caches close, and nothing is released while one is open.
TEST(SmallBlockPool, ThreadCachesCarveTheirOwnSlabs) {
    SmallBlockPool pool;
    std::vector<void*> a(30000), b(30000);
    void* early = pool.Allocate(40);
    std::thread first([&] {
        SmallBlockPool::ThreadCache cache(pool);
        for (void*& p : a) p = pool.Allocate(88);  // more than one slab
        EXPECT_EQ(pool.LiveBlocks(), 30001u) << "the caller's own cache counts";
    });
    std::thread second([&] {
        SmallBlockPool::ThreadCache cache(pool);
        for (void*& p : b) {
            p = pool.Allocate(24);
            std::memset(p, 0x5A, 24);
        }
        pool.Free(early, 40);               // the count passes zero while the other cache is open
        void* large = pool.Allocate(1000);  // not pooled: never from the cache
        pool.Free(large, 1000);
    });
    first.join();
    second.join();
    EXPECT_EQ(pool.LiveBlocks(), 60000u);
    std::set<void*> distinct(a.begin(), a.end());
    distinct.insert(b.begin(), b.end());
    EXPECT_EQ(distinct.size(), 60000u);
    for (void* p : b)
        for (int i = 0; i < 24; ++i) ASSERT_EQ(static_cast<uint8_t*>(p)[i], 0x5A);
    {
        SmallBlockPool::ThreadCache cache(pool);
        void* p = pool.Allocate(8);
        for (void* q : a) pool.Free(q, 88);
        for (void* q : b) pool.Free(q, 24);
        EXPECT_EQ(pool.LiveBlocks(), 1u);
        pool.Free(p, 8);
    }
    EXPECT_EQ(pool.LiveBlocks(), 0u);
    void* again = pool.Allocate(88);  // what the caches left is carved on
    ASSERT_TRUE(again);
    pool.Free(again, 88);
}

}  // namespace
}  // namespace keldrin
