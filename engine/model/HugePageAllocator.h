// An allocator for the large working tables of tree builds: blocks of 512 KiB and more are rounded up to
// whole huge pages where the kernel offers them, so that filling a table of megabytes takes a few page faults
// instead of one per 4 KiB (by far the dearer way to get fresh memory). Only the huge pages touched take
// memory. Smaller blocks are plain.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace keldrin {

template <typename T>
class HugePageAllocator {
  public:
    using value_type = T;

    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(size_t n) {
        if (n > SIZE_MAX / sizeof(T) - kHugePage) throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (bytes < kSmallest) return static_cast<T*>(::operator new(bytes));
        const size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
        void* block = std::aligned_alloc(kHugePage, rounded);
        if (!block) throw std::bad_alloc();
        ::madvise(block, rounded, MADV_HUGEPAGE);
        return static_cast<T*>(block);
    }

    void deallocate(T* block, size_t n) noexcept {
        if (n * sizeof(T) < kSmallest)
            ::operator delete(block);
        else
            std::free(block);
    }

    friend bool operator==(const HugePageAllocator&, const HugePageAllocator&) { return true; }

  private:
    static constexpr size_t kHugePage = size_t{2} << 20;
    static constexpr size_t kSmallest = size_t{512} << 10;
};

}  // namespace keldrin
