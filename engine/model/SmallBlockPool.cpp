#include "engine/model/SmallBlockPool.h"

#include <sys/mman.h>

#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define KELDRIN_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELDRIN_POOL_ASAN 1
#endif
#endif

#if defined(KELDRIN_POOL_ASAN)
#include <sanitizer/asan_interface.h>
// Free and never-carved pool memory stays poisoned, so a use after DeleteTree is still reported.
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace keldrin {
namespace {

constexpr size_t RoundUp(size_t n, size_t to) {
    return (n + to - 1) / to * to;
}

// The slab header is rounded so that the first block keeps the slab's alignment.
constexpr size_t kSlabHeader = RoundUp(sizeof(void*), alignof(std::max_align_t));

// Slabs are whole huge pages where the kernel offers them: a tree of a million files otherwise
// takes tens of thousands of page faults, a tenth of the time of a quick build.
void* NewSlab(size_t bytes) {
    void* memory = std::aligned_alloc(bytes, bytes);
#if !defined(KELDRIN_POOL_ASAN)
    if (memory) ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return memory;
}

void FreeSlab(void* slab) {
    std::free(slab);
}

// Tells the processor that this is a wait loop.
inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

}  // namespace

void SmallBlockPool::SpinLock::lock() noexcept {
    // The lock is held for a few instructions: spinning a while is far cheaper than a system
    // call; only a holder that was preempted makes the waiter yield.
    int spins = 0;
    while (held_.exchange(true, std::memory_order_acquire)) {
        while (held_.load(std::memory_order_relaxed)) {
            if (++spins < 2048)
                CpuRelax();
            else
                std::this_thread::yield();
        }
    }
}

SmallBlockPool::~SmallBlockPool() {
    while (slabs_) {
        Slab* next = slabs_->next;
        POOL_UNPOISON(slabs_, kSlabBytes);
        FreeSlab(slabs_);
        slabs_ = next;
    }
}

namespace {
thread_local SmallBlockPool::ThreadCache* t_cache = nullptr;
}  // namespace

SmallBlockPool::ThreadCache::ThreadCache(SmallBlockPool& pool) : pool_(pool), outer_(t_cache) {
    std::lock_guard lock(pool_.lock_);
    ++pool_.caches_;
    t_cache = this;
}

SmallBlockPool::ThreadCache::~ThreadCache() {
    pool_.Close(*this);
    t_cache = outer_;
}

bool SmallBlockPool::Refill(ThreadCache& cache) {
    // The slab is faulted in outside the lock: that takes long enough for other threads to
    // spin on it.
    void* memory = NewSlab(kSlabBytes);
    if (!memory) return false;
    auto* slab = static_cast<Slab*>(memory);
    slab->next = nullptr;
    std::lock_guard lock(lock_);
    live_ += cache.pending_;
    cache.pending_ = 0;
    // The newest slab stays first: it is the one the pool itself carves.
    if (slabs_) {
        slab->next = slabs_->next;
        slabs_->next = slab;
    } else {
        slabs_ = slab;
    }
    cache.slab_ = slab;
    cache.carve_ = static_cast<char*>(memory) + kSlabHeader;
    cache.left_ = kSlabBytes - kSlabHeader;
    POOL_POISON(cache.carve_, cache.left_);
    return true;
}

void SmallBlockPool::Close(ThreadCache& cache) {
    std::lock_guard lock(lock_);
    live_ += cache.pending_;
    cache.pending_ = 0;
    --caches_;
    // What is left of the cache's slab goes to the pool when it is more than the pool has left:
    // the slab becomes the newest, the one the pool carves.
    if (cache.slab_ && cache.left_ > carveLeft_) {
        for (Slab** at = &slabs_; *at; at = &(*at)->next) {
            if (*at != cache.slab_) continue;
            Slab* slab = *at;
            *at = slab->next;
            slab->next = slabs_;
            slabs_ = slab;
            carve_ = cache.carve_;
            carveLeft_ = cache.left_;
            break;
        }
    }
    if (live_ == 0 && caches_ == 0) ReleaseSlabsExceptNewest();
}

void* SmallBlockPool::Allocate(size_t size) noexcept {
    if (size == 0) size = 1;
    ThreadCache* cache = t_cache;
    if (cache && &cache->pool_ == this && size <= kLargestPooled) {
        const size_t bytes = RoundUp(size, kGranule);
        if (cache->left_ < bytes && !Refill(*cache)) return nullptr;
        void* p = cache->carve_;
        POOL_UNPOISON(p, bytes);
        cache->carve_ += bytes;
        cache->left_ -= bytes;
        ++cache->pending_;
        return p;
    }
    if (size > kLargestPooled) {
        void* p = ::operator new(size, std::nothrow);
        if (p) {
            std::lock_guard lock(lock_);
            ++live_;
        }
        return p;
    }
    const size_t bytes = RoundUp(size, kGranule);
    std::lock_guard lock(lock_);
    void* p = nullptr;
    if (FreeBlock* block = free_[bytes / kGranule]) {
        POOL_UNPOISON(block, bytes);
        free_[bytes / kGranule] = block->next;
        p = block;
    } else {
        p = Carve(bytes);
    }
    if (p) ++live_;
    return p;
}

void SmallBlockPool::Free(void* block, size_t size) noexcept {
    if (!block) return;
    if (size == 0) size = 1;
    if (size > kLargestPooled) ::operator delete(block);
    std::lock_guard lock(lock_);
    if (size <= kLargestPooled) {
        const size_t bytes = RoundUp(size, kGranule);
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = free_[bytes / kGranule];
        free_[bytes / kGranule] = freed;
        POOL_POISON(block, bytes);
    }
    // A whole tree is usually freed at once; give its memory back instead of hoarding it.
    if (--live_ == 0 && caches_ == 0) ReleaseSlabsExceptNewest();
}

size_t SmallBlockPool::LiveBlocks() const {
    std::lock_guard lock(lock_);
    int64_t live = live_;
    for (const ThreadCache* cache = t_cache; cache; cache = cache->outer_)
        if (&cache->pool_ == this) live += cache->pending_;
    return live > 0 ? static_cast<size_t>(live) : 0;
}

void* SmallBlockPool::Carve(size_t bytes) {
    if (carveLeft_ < bytes) {
        // The tail of the old slab (less than one block) is left unused.
        void* memory = NewSlab(kSlabBytes);
        if (!memory) return nullptr;
        auto* slab = static_cast<Slab*>(memory);
        slab->next = slabs_;
        slabs_ = slab;
        carve_ = static_cast<char*>(memory) + kSlabHeader;
        carveLeft_ = kSlabBytes - kSlabHeader;
        POOL_POISON(carve_, carveLeft_);
    }
    void* p = carve_;
    POOL_UNPOISON(p, bytes);
    carve_ += bytes;
    carveLeft_ -= bytes;
    return p;
}

void SmallBlockPool::ReleaseSlabsExceptNewest() {
    for (FreeBlock*& head : free_) head = nullptr;
    if (!slabs_) return;
    Slab* old = slabs_->next;
    slabs_->next = nullptr;
    while (old) {
        Slab* next = old->next;
        POOL_UNPOISON(old, kSlabBytes);
        FreeSlab(old);
        old = next;
    }
    carve_ = reinterpret_cast<char*>(slabs_) + kSlabHeader;
    carveLeft_ = kSlabBytes - kSlabHeader;
    POOL_POISON(carve_, carveLeft_);
}

SmallBlockPool& TreePool() {
    static SmallBlockPool* const pool = new SmallBlockPool;
    return *pool;
}

}  // namespace keldrin
