#include "engine/ntfs/NtfsBuildRecord.h"

#include <sys/mman.h>

#include <cstdlib>
#include <memory>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KELDRIN_RECORDS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELDRIN_RECORDS_ASAN 1
#endif
#endif

namespace keldrin::ntfs {
namespace {

constexpr size_t kRegionBytes = size_t{2} << 20;  // one huge page
constexpr size_t kChunkBytes = BuildRecordList::kChunkSize * sizeof(CNTFSBuildRecord);
constexpr size_t kChunksPerRegion = kRegionBytes / kChunkBytes;
static_assert(kChunksPerRegion >= 1);
constexpr size_t kPage = 4096;

// Gives the whole pages of a chunk that is done with back to the kernel (the sanitiser keeps its
// own account of the memory and is left alone).
void DropPages([[maybe_unused]] void* chunk) {
#if !defined(KELDRIN_RECORDS_ASAN)
    const auto start = reinterpret_cast<uintptr_t>(chunk);
    const uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (start + kChunkBytes) & ~(kPage - 1);
    if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
#endif
}

}  // namespace

BuildRecordList::~BuildRecordList() {
    for (size_t chunk = 0; chunk < chunks_.size(); ++chunk)
        if (chunks_[chunk]) std::destroy_n(chunks_[chunk], kChunkSize);
    for (const Region& region : regions_) std::free(region.memory);
}

CNTFSBuildRecord* BuildRecordList::NewChunk() {
    chunks_.reserve(chunks_.size() + 1);
    regionOf_.reserve(regionOf_.size() + 1);
    if (regions_.empty() || regions_.back().carved == kChunksPerRegion) {
        regions_.reserve(regions_.size() + 1);
        void* memory = std::aligned_alloc(kRegionBytes, kRegionBytes);
        if (!memory) throw std::bad_alloc();
#if !defined(KELDRIN_RECORDS_ASAN)
        ::madvise(memory, kRegionBytes, MADV_HUGEPAGE);
#endif
        regions_.push_back({memory, 0, 0});
    }
    Region& region = regions_.back();
    auto* chunk =
        reinterpret_cast<CNTFSBuildRecord*>(static_cast<char*>(region.memory) + region.carved * kChunkBytes);
    std::uninitialized_value_construct_n(chunk, kChunkSize);
    ++region.carved;
    ++region.live;
    regionOf_.push_back(regions_.size() - 1);
    return chunk;
}

void BuildRecordList::Release(size_t chunk) {
    CNTFSBuildRecord*& records = chunks_[chunk];
    if (!records) return;
    std::destroy_n(records, kChunkSize);
    Region& region = regions_[regionOf_[chunk]];
    if (--region.live == 0 && region.carved == kChunksPerRegion) {
        std::free(region.memory);
        region.memory = nullptr;
    } else {
        DropPages(records);
    }
    records = nullptr;
}

}  // namespace keldrin::ntfs
