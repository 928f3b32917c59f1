// Folder index records ("INDX" of $INDEX_ALLOCATION), the entries of an index node, and the
// folder an index belongs to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/ntfs/Attributes.h"

namespace keldrin::ntfs {

inline constexpr uint16_t kIndexEntrySubNode = 0x01;
inline constexpr uint16_t kIndexEntryLast = 0x02;
inline constexpr size_t kIndexEntryHeaderSize = 16;

struct IndexEntry {
    uint64_t fileReference = 0;
    uint16_t length = 0;
    uint16_t keyLength = 0;
    uint16_t flags = 0;
    std::span<const uint8_t> key;  // a $FILE_NAME value in folder indexes; empty in the last entry

    bool HasSubNode() const { return (flags & kIndexEntrySubNode) != 0; }
    bool IsLast() const { return (flags & kIndexEntryLast) != 0; }
};

// Steps through the entries of one index node: entries is the node's bytes from its first entry
// to the end of the index length in use. The last entry (flag 0x02) is given and ends the walk;
// an entry of length 0 ends it without being given; an entry that does not fit fails it.
class IndexEntryWalker {
  public:
    explicit IndexEntryWalker(std::span<const uint8_t> entries) : entries_(entries) {}

    bool Next(IndexEntry& out);
    // The walk stopped at a malformed entry.
    bool Failed() const { return failed_; }

  private:
    std::span<const uint8_t> entries_;
    size_t position_ = 0;
    bool done_ = false;
    bool failed_ = false;
};

// The entries region of the index node whose header starts nodeHeader (entries offset at 0, index
// length in use at 4, both counted from the header); false when it does not fit.
bool IndexNodeEntries(std::span<const uint8_t> nodeHeader, std::span<const uint8_t>& entries);

// "INDX", an update-sequence array that matches the allocated size, a fix-up that applies, and
// entries that all name one parent folder. The record is taken in its on-disk form (not yet fixed
// up) and left as it was.
bool IsValidIndexRecord(std::span<uint8_t> record);
// The record number of the folder a valid INDX record belongs to; -1 when the record is not
// valid or holds no entry.
int64_t IndexRecordParent(std::span<uint8_t> record);
// The same for the entries of a resident $INDEX_ROOT; -1 when they disagree or there is none.
int64_t IndexRootParent(const Attribute& indexRoot);

}  // namespace keldrin::ntfs
