// The allocator of the many small objects of recovered-file trees (nodes, NTFS file properties).
// A tree holds millions of them; malloc's per-block header and 16-byte rounding would add a
// third to their size. Blocks come in 8-byte size classes, carved from large slabs and kept on
// one free list per class for reuse. Any thread may allocate and free (trees are built on a worker
// and deleted on the user-interface thread).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace keldrin {

class SmallBlockPool {
  public:
    // Blocks are aligned to this; objects with a larger alignment must not use the pool.
    static constexpr size_t kGranule = 8;
    // Larger requests go to the global operator new.
    static constexpr size_t kLargestPooled = 256;

    SmallBlockPool() = default;
    SmallBlockPool(const SmallBlockPool&) = delete;
    SmallBlockPool& operator=(const SmallBlockPool&) = delete;
    ~SmallBlockPool();

    // Null when memory runs out.
    void* Allocate(size_t size) noexcept;
    // size must be the size given to Allocate.
    void Free(void* block, size_t size) noexcept;

    // Blocks handed out and not yet freed (pooled and large ones); lets tests see leaks. Blocks
    // of caches still open on other threads are counted once those close.
    size_t LiveBlocks() const;

    // While one is open on a thread, the thread's new pooled blocks are carved from a slab of its
    // own without taking the pool's lock: the threads that build one tree together, and the
    // build's thread alone, allocate a block per file. Freeing is unchanged. Scopes nest; the
    // pool must outlive its caches. While any cache is open, freeing every block keeps the slabs.
    class ThreadCache {
      public:
        explicit ThreadCache(SmallBlockPool& pool);
        ~ThreadCache();
        ThreadCache(const ThreadCache&) = delete;
        ThreadCache& operator=(const ThreadCache&) = delete;

      private:
        friend class SmallBlockPool;
        SmallBlockPool& pool_;
        ThreadCache* outer_;
        void* slab_ = nullptr;
        char* carve_ = nullptr;
        size_t left_ = 0;
        int64_t pending_ = 0;  // blocks handed out and not yet added to the pool's count
    };

  private:
    struct FreeBlock {
        FreeBlock* next;
    };
    struct Slab {
        Slab* next;
    };
    static constexpr size_t kSlabBytes = size_t{2} << 20;  // one huge page
    static constexpr size_t kClasses = kLargestPooled / kGranule + 1;

    void* Carve(size_t bytes);
    void ReleaseSlabsExceptNewest();
    bool Refill(ThreadCache& cache);
    void Close(ThreadCache& cache);

    // A build takes the lock twice per file and almost never finds it held (only while a tree is
    // freed on another thread): an exchange costs a fraction of a mutex's lock and unlock.
    class SpinLock {
      public:
        void lock() noexcept;
        void unlock() noexcept { held_.store(false, std::memory_order_release); }

      private:
        std::atomic<bool> held_{false};
    };

    mutable SpinLock lock_;
    FreeBlock* free_[kClasses] = {};
    Slab* slabs_ = nullptr;  // newest first; the newest one is being carved
    char* carve_ = nullptr;
    size_t carveLeft_ = 0;
    // Signed: a block of a cache not yet closed may be freed before its count arrives.
    int64_t live_ = 0;
    int caches_ = 0;  // open thread caches
};

// The one pool of the model's tree objects. Never destroyed, so that trees freed during the
// program's exit still find it.
SmallBlockPool& TreePool();

}  // namespace keldrin
