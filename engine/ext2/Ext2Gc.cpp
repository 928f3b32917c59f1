#include "engine/ext2/Ext2Gc.h"

#define GC_THREADS
#include <gc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>

namespace keldrin::ext2 {
namespace {

std::once_flag collectorOnce;

void InitCollector() {
    // Nothing is ever collected (below), so marker threads would only cost their start at every
    // program start.
    GC_set_markers_count(1);
    // Nor is anything collected at start: the collection the collector makes by default marks the
    // whole program's data at every start of the command line.
    GC_set_dont_precollect(1);
    GC_INIT();
    // Lets worker threads register themselves later.
    GC_allow_register_threads();
    // Every block here is uncollectable and freed explicitly, so a collection would only mark
    // roots to find nothing: leaving it off saves that time and never stops the other threads.
    GC_disable();
}

// The collector wants to be set up on the main thread; a static initialiser runs there.
const bool collectorStarted = (EnsureCollector(), true);

// An inode table is read whole into one buffer of megabytes: faulting it in as huge pages, where
// the kernel has them, takes a few faults instead of a thousand. Only the whole huge pages inside
// the block are advised.
void AdviseHugePages(void* block, size_t size) {
    constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
    if (size < 2 * kHugePage) return;
    const auto start = reinterpret_cast<uintptr_t>(block);
    const uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = (start + size) & ~(kHugePage - 1);
    if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

}  // namespace

void EnsureCollector() {
    std::call_once(collectorOnce, InitCollector);
}

void GcFree::operator()(void* block) const noexcept {
    if (block) GC_FREE(block);
}

GcBytes AllocateGcBytes(size_t size, bool zeroed) {
    EnsureCollector();
    void* block = GC_MALLOC_ATOMIC_UNCOLLECTABLE(size ? size : 1);
    if (!block) throw std::bad_alloc();
    AdviseHugePages(block, size);
    // Atomic blocks are not cleared by the collector.
    if (zeroed) std::memset(block, 0, size ? size : 1);
    return GcBytes(static_cast<uint8_t*>(block));
}

GcThreadScope::GcThreadScope() {
    EnsureCollector();
    (void)collectorStarted;
    if (GC_thread_is_registered()) return;
    GC_stack_base base{};
    if (GC_get_stack_base(&base) == GC_SUCCESS) registered_ = GC_register_my_thread(&base) == GC_SUCCESS;
}

GcThreadScope::~GcThreadScope() {
    if (registered_) GC_unregister_my_thread();
}

}  // namespace keldrin::ext2
