// What a tree build keeps of each usable MFT record until the tree is assembled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/model/NTFSFileProperties.h"

namespace keldrin::ntfs {

inline constexpr int64_t kUnknownRecord = -1;
// The root folder of every NTFS volume.
inline constexpr int64_t kRootRecord = 5;

// Only these four fields in 24 bytes: a volume holds millions of records and everything else
// about a file lives once in its properties (the record's sector too). Record numbers are 48 bits
// on disk, so the number shares its word with the folder flag.
struct CNTFSBuildRecord {
    int64_t parent = kUnknownRecord;
    // Owned until handed to a node; null once placed.
    std::unique_ptr<CNTFSFileProperties> properties;
    int64_t recordNumber : 62 = kUnknownRecord;
    uint64_t folder : 2 = 0;  // the record header's flags & 0x0002
};
static_assert(sizeof(CNTFSBuildRecord) == 24);
inline constexpr int64_t kMaxBuildRecordNumber = int64_t{1} << 61;

// The build records of one build, in the order they were found. Stored in fixed chunks, so that
// growing never moves a record (nodes point at theirs) and never holds two copies of the list.
class BuildRecordList {
  public:
    // The list is indexed with 32 bits.
    static constexpr size_t kMaxRecords = 0xFFFFFFFEu;

    BuildRecordList() = default;
    ~BuildRecordList();
    BuildRecordList(const BuildRecordList&) = delete;
    BuildRecordList& operator=(const BuildRecordList&) = delete;

    bool IsFull() const { return size_ >= kMaxRecords; }
    // Throws std::bad_alloc like any container; the builders catch it at their top.
    CNTFSBuildRecord& Append(CNTFSBuildRecord&& record) {
        if ((size_ & kChunkMask) == 0) chunks_.push_back(NewChunk());
        CNTFSBuildRecord& slot = chunks_.back()[size_ & kChunkMask];
        slot = std::move(record);
        ++size_;
        return slot;
    }
    size_t Size() const { return size_; }

    // The list is kept in chunks of this many records.
    static constexpr size_t kChunkShift = 13;
    static constexpr size_t kChunkSize = size_t{1} << kChunkShift;
    static size_t ChunkOf(size_t index) { return index >> kChunkShift; }
    // Frees a chunk whose records are all done with; they must not be used again (Released()
    // tells), nor may the list grow after it. A tree build gives back the records it has placed.
    void Release(size_t chunk);
    bool Released(size_t index) const { return !chunks_[ChunkOf(index)]; }
    CNTFSBuildRecord& operator[](size_t index) { return chunks_[index >> kChunkShift][index & kChunkMask]; }
    const CNTFSBuildRecord& operator[](size_t index) const {
        return chunks_[index >> kChunkShift][index & kChunkMask];
    }

  private:
    static constexpr size_t kChunkMask = kChunkSize - 1;

    // Chunks are carved from regions of one huge page each, where the kernel offers them: first
    // touching a chunk of small pages takes dozens of page faults, the largest cost of reading a
    // $MFT after the reading itself. A released chunk gives its pages back at once.
    struct Region {
        void* memory = nullptr;
        size_t carved = 0;  // chunks handed out
        size_t live = 0;    // chunks not yet released
    };
    CNTFSBuildRecord* NewChunk();

    std::vector<CNTFSBuildRecord*> chunks_;  // null once released
    std::vector<size_t> regionOf_;           // by chunk
    std::vector<Region> regions_;
    size_t size_ = 0;
};

}  // namespace keldrin::ntfs
