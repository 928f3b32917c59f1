// The collected heap of the Ext2/3 reader's working buffers (inode tables, indirect and directory
// blocks). Everything is allocated uncollectable and freed explicitly through RAII, so nothing
// depends on the collector finding roots on a thread's stack: a build on a worker thread (whose
// stack the collector does not know, or which ASan's fake stacks hide) cannot lose a live buffer.
// The worker still registers itself, because libgc wants every allocating thread known. As nothing
// is left for the collector to find, collection is switched off once the collector is set up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace keldrin::ext2 {

// GC_INIT once per process (also done by a static initialiser on the main thread).
void EnsureCollector();

struct GcFree {
    void operator()(void* block) const noexcept;
};
using GcBytes = std::unique_ptr<uint8_t[], GcFree>;

// Pointer-free bytes from the collector, zero-filled unless the caller overwrites them all at
// once; throws std::bad_alloc when memory runs out.
GcBytes AllocateGcBytes(size_t size, bool zeroed = true);

// Registers the calling thread with the collector for its lifetime (nothing when it already is).
class GcThreadScope {
  public:
    GcThreadScope();
    ~GcThreadScope();
    GcThreadScope(const GcThreadScope&) = delete;
    GcThreadScope& operator=(const GcThreadScope&) = delete;

  private:
    bool registered_ = false;
};

}  // namespace keldrin::ext2
