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

// Only these five fields: a volume holds millions of records and everything else about a file
// lives once in its properties.
struct CNTFSBuildRecord {
    uint32_t folder = 0;  // the record header's flags & 0x0002
    int64_t recordSector = 0;
    int64_t parent = kUnknownRecord;
    // Owned until handed to a node; null once placed.
    std::unique_ptr<CNTFSFileProperties> properties;
    int64_t recordNumber = kUnknownRecord;
};

// The build records of one build, in the order they were found. Stored in fixed chunks, so that
// growing never moves a record (nodes point at theirs) and never holds two copies of the list.
class BuildRecordList {
  public:
    // The list is indexed with 32 bits.
    static constexpr size_t kMaxRecords = 0xFFFFFFFEu;

    bool IsFull() const { return size_ >= kMaxRecords; }
    // Throws std::bad_alloc like any container; the builders catch it at their top.
    CNTFSBuildRecord& Append(CNTFSBuildRecord&& record) {
        if ((size_ & kChunkMask) == 0) chunks_.push_back(std::make_unique<CNTFSBuildRecord[]>(kChunkSize));
        CNTFSBuildRecord& slot = chunks_.back()[size_ & kChunkMask];
        slot = std::move(record);
        ++size_;
        return slot;
    }
    size_t Size() const { return size_; }
    CNTFSBuildRecord& operator[](size_t index) { return chunks_[index >> kChunkShift][index & kChunkMask]; }
    const CNTFSBuildRecord& operator[](size_t index) const {
        return chunks_[index >> kChunkShift][index & kChunkMask];
    }

  private:
    static constexpr size_t kChunkShift = 10;
    static constexpr size_t kChunkSize = size_t{1} << kChunkShift;
    static constexpr size_t kChunkMask = kChunkSize - 1;

    std::vector<std::unique_ptr<CNTFSBuildRecord[]>> chunks_;
    size_t size_ = 0;
};

}  // namespace keldrin::ntfs
