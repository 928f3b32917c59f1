#include "engine/ntfs/IndexRecord.h"

#include "engine/ntfs/Fixup.h"
#include "engine/ntfs/LeReader.h"

namespace keldrin::ntfs {
namespace {

constexpr uint32_t kIndxMagic = 0x58444E49;  // "INDX"
constexpr size_t kIndxNodeHeader = 24;
constexpr size_t kIndexRootNodeHeader = 16;
constexpr size_t kMaxUpdateSequenceCount = 16;
constexpr size_t kMinUpdateSequenceOffset = 40;
constexpr size_t kMaxUpdateSequenceOffset = 256;
// Folder keys are $FILE_NAME values; the test reads their sizes at 40 and 48.
constexpr size_t kMinFileNameKey = kFileNameHeaderSize;

// The parent that every entry of the node names (-1 when there is no entry), or false when the
// entries disagree or are malformed.
bool CommonParent(std::span<const uint8_t> entries, int64_t& parent) {
    parent = -1;
    bool first = true;
    uint64_t reference = 0;
    IndexEntryWalker walker(entries);
    IndexEntry e;
    while (walker.Next(e)) {
        if (e.IsLast()) break;
        const LeReader key(e.key);
        if (!key.Has(0, kMinFileNameKey)) return false;
        if (key.U64(40) < key.U64(48)) return false;
        if (first) {
            reference = key.U64(0);
            first = false;
        } else if (key.U64(0) != reference) {
            return false;
        }
    }
    if (walker.Failed()) return false;
    if (!first) parent = RecordNumberOf(reference);
    return true;
}

bool CheckIndexRecord(std::span<uint8_t> record, int64_t& parent) {
    parent = -1;
    const LeReader r(record);
    if (!r.Has(0, kIndxNodeHeader + 16) || r.U32(0) != kIndxMagic) return false;
    const size_t entriesOffset = r.U32(24);
    const size_t indexLength = r.U32(28);
    const size_t allocated = r.U32(32);
    // The node header counts from 24, so the allocated bytes end at 24 + allocated.
    if (allocated > record.size() - kIndxNodeHeader || indexLength > allocated) return false;
    const size_t count = r.U16(6);
    if (count > kMaxUpdateSequenceCount || count == 0) return false;
    if (count - 1 > record.size() / kFixupStride) return false;
    if (count - 1 != (allocated + entriesOffset) / kFixupStride) return false;
    const size_t usaOffset = r.U16(4);
    if (usaOffset < kMinUpdateSequenceOffset || usaOffset > kMaxUpdateSequenceOffset) return false;

    const ScopedFixup fixup(record);
    if (!fixup.Applied()) return false;
    std::span<const uint8_t> entries;
    if (!IndexNodeEntries(record.subspan(kIndxNodeHeader), entries)) return false;
    return CommonParent(entries, parent);
}

}  // namespace

bool IndexEntryWalker::Next(IndexEntry& out) {
    if (done_ || failed_) return false;
    const LeReader r(entries_);
    if (position_ >= entries_.size()) {
        done_ = true;
        return false;
    }
    if (!r.Has(position_, kIndexEntryHeaderSize)) {
        failed_ = true;
        return false;
    }
    const size_t length = r.U16(position_ + 8);
    if (length == 0) {
        done_ = true;
        return false;
    }
    const size_t keyLength = r.U16(position_ + 10);
    if (length < kIndexEntryHeaderSize || !r.Has(position_, length) ||
        keyLength > length - kIndexEntryHeaderSize) {
        failed_ = true;
        return false;
    }
    out.fileReference = r.U64(position_);
    out.length = static_cast<uint16_t>(length);
    out.keyLength = static_cast<uint16_t>(keyLength);
    out.flags = r.U16(position_ + 12);
    out.key = r.Sub(position_ + kIndexEntryHeaderSize, keyLength);
    position_ += length;
    if (out.IsLast()) done_ = true;
    return true;
}

bool IndexNodeEntries(std::span<const uint8_t> nodeHeader, std::span<const uint8_t>& entries) {
    const LeReader r(nodeHeader);
    if (!r.Has(0, 16)) return false;
    const size_t entriesOffset = r.U32(0);
    const size_t indexLength = r.U32(4);
    if (entriesOffset < 16 || entriesOffset > indexLength || !r.Has(0, indexLength)) return false;
    entries = nodeHeader.subspan(entriesOffset, indexLength - entriesOffset);
    return true;
}

bool IsValidIndexRecord(std::span<uint8_t> record) {
    int64_t parent = -1;
    return CheckIndexRecord(record, parent);
}

int64_t IndexRecordParent(std::span<uint8_t> record) {
    int64_t parent = -1;
    return CheckIndexRecord(record, parent) ? parent : -1;
}

int64_t IndexRootParent(const Attribute& indexRoot) {
    if (indexRoot.Type() != kAttrIndexRoot) return -1;
    const LeReader value(indexRoot.Value());
    if (!value.Has(0, kIndexRootNodeHeader + 16)) return -1;
    const size_t indexLength = value.U32(kIndexRootNodeHeader + 4);
    if (value.Size() < indexLength + kIndexRootNodeHeader) return -1;
    int64_t parent = -1;
    std::span<const uint8_t> entries;
    if (!IndexNodeEntries(indexRoot.Value().subspan(kIndexRootNodeHeader), entries)) return -1;
    if (!CommonParent(entries, parent)) return -1;
    return parent;
}

}  // namespace keldrin::ntfs
