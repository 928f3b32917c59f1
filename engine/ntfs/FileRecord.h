// MFT file records ("FILE"): validation, the walk over their attributes, and a view of one record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "engine/ntfs/Attributes.h"

namespace keldrin::ntfs {

inline constexpr uint16_t kRecordFlagInUse = 0x0001;
inline constexpr uint16_t kRecordFlagFolder = 0x0002;
inline constexpr size_t kFileRecordHeaderSize = 48;

// Record sizes the reader handles: whole 512-byte strides, at most 64 KiB.
bool IsUsableRecordSize(uint32_t bytes);

// "FILE", a fix-up array that fits, and every attribute sound (see the walk below). The fix-up
// is applied for the test when it matches and reverted afterwards: the buffer is left as it was.
bool IsValidFileRecord(std::span<uint8_t> record);

// Visits the attributes of a record as it stands (fixed up or not) from the first-attribute
// offset. The walk stays inside the record length and, where they are sane, inside the bytes
// allocated and in use; it ends at the 0xFFFFFFFF marker, at a zero-length attribute, or when
// fewer than 8 bytes are left. visit returns false to stop early. The result is false when an
// attribute is malformed (the walk stops there).
bool WalkAttributes(std::span<const uint8_t> record, const std::function<bool(const Attribute&)>& visit);

// A view of one record. When the record is valid it is either copied or viewed in place, and its
// fix-up is applied when it matches; an in-place view reverts the fix-up when it goes.
class FileRecord : public AttributeSource {
  public:
    FileRecord() = default;
    // In place (copy false): buffer must outlive the view.
    FileRecord(std::span<uint8_t> buffer, bool copy);
    // Always a copy.
    explicit FileRecord(std::span<const uint8_t> buffer);
    ~FileRecord() override;
    FileRecord(FileRecord&& other) noexcept;
    FileRecord& operator=(FileRecord&& other) noexcept;
    FileRecord(const FileRecord&) = delete;
    FileRecord& operator=(const FileRecord&) = delete;

    bool IsValid() const { return !view_.empty(); }
    bool IsFixedUp() const { return fixedUp_; }
    // The record as the view sees it (fixed up when IsFixedUp); empty when not valid.
    std::span<const uint8_t> Bytes() const { return view_; }

    uint16_t GetFlags() const;
    bool IsInUse() const { return (GetFlags() & kRecordFlagInUse) != 0; }
    bool IsFolder() const { return (GetFlags() & kRecordFlagFolder) != 0; }
    uint64_t GetBaseReference() const;
    bool IsExtension() const { return GetBaseReference() != 0; }
    // The record's own number (long header form only), else -1.
    int64_t GetRecordNumber() const;
    uint64_t GetLsn() const;
    uint16_t GetSequenceNumber() const;
    uint16_t GetHardLinkCount() const;
    uint32_t GetBytesInUse() const;
    uint32_t GetBytesAllocated() const;

    std::optional<Attribute> FindAttribute(uint32_t type, int index,
                                           int64_t* recordSector = nullptr) const override;
    int CountAttributes(uint32_t type) const;
    void ForEachAttribute(const std::function<bool(const Attribute&)>& visit) const;
    // The same visit, inlined: a build runs it on every record of a volume.
    template <typename F>
    void VisitAttributes(F&& visit) const;

    // Where the attributes of a valid record start, as its validation walk found them: the reader
    // searches each record several times, and the record does not change while it is viewed.
    struct AttributeIndex {
        static constexpr size_t kMaxAttributes = 16;
        std::array<uint16_t, kMaxAttributes> offsets{};
        uint8_t count = 0;
        bool complete = false;  // false: more than kMaxAttributes, searches walk the record
    };

  private:
    void Open(std::span<uint8_t> buffer, bool copy);
    void Release();

    std::vector<uint8_t> copy_;
    AttributeIndex index_;
    std::span<uint8_t> view_;
    bool inPlace_ = false;
    bool fixedUp_ = false;
};

template <typename F>
void FileRecord::VisitAttributes(F&& visit) const {
    if (view_.empty()) return;
    if (!index_.complete) {
        WalkAttributes(view_, visit);
        return;
    }
    const LeReader r(view_);
    for (size_t i = 0; i < index_.count; ++i) {
        const size_t offset = index_.offsets[i];
        if (!visit(Attribute(view_.subspan(offset, r.U32(offset + 4)), offset))) return;
    }
}

}  // namespace keldrin::ntfs
