#include "engine/ntfs/FileRecord.h"

#include <utility>

#include "engine/ntfs/Fixup.h"
#include "engine/ntfs/LeReader.h"
#include "engine/ntfs/NtfsRuns.h"

namespace keldrin::ntfs {
namespace {

constexpr uint32_t kFileMagic = 0x454C4946;  // "FILE"
constexpr size_t kMaxUpdateSequenceCount = 16;
constexpr size_t kMinUpdateSequenceOffset = 42;
constexpr size_t kMaxUpdateSequenceOffset = 256;
constexpr size_t kEndMarkerRoom = 8;

// The bytes of the record the attributes may occupy: its length, narrowed to the bytes allocated
// and then the bytes in use when those lie between the first attribute and the end.
size_t WalkLimit(const LeReader& r, size_t firstAttribute) {
    size_t limit = r.Size();
    const size_t allocated = r.U32(28);
    if (allocated >= firstAttribute && allocated <= limit) limit = allocated;
    const size_t inUse = r.U32(24);
    if (inUse > firstAttribute && inUse <= limit) limit = inUse;
    return limit;
}

// The attribute's own header and value, or mapping pairs, lie inside its length.
bool IsSoundAttribute(const Attribute& a) {
    const size_t length = a.Bytes().size();
    if (a.IsResident()) {
        return length >= kResidentHeaderSize && length >= size_t{a.ValueOffset()} + a.ValueLength();
    }
    return length >= kNonResidentHeaderSize && length >= a.MappingPairsOffset();
}

// The walk itself, with the visitor inlined: the reader's own searches run it several times for
// every record of a volume.
template <typename Visit>
bool Walk(std::span<const uint8_t> record, Visit&& visit) {
    const LeReader r(record);
    if (!r.Has(0, kFileRecordHeaderSize)) return false;
    size_t offset = r.U16(20);
    const size_t limit = WalkLimit(r, offset);
    while (limit >= kEndMarkerRoom && offset < limit - kEndMarkerRoom) {
        if (r.U32(offset) == kAttrEnd) return true;
        if (limit - offset < 16) return false;
        const uint32_t length = r.U32(offset + 4);
        // A zero length cannot lead anywhere: it ends the list like the marker does.
        if (length == 0) return true;
        if (length > limit - offset) return false;
        const Attribute a(record.subspan(offset, length), offset);
        if (!IsSoundAttribute(a)) return false;
        if (!visit(a)) return true;
        offset += length;
    }
    return true;
}

// The header fields that must hold before the fix-up is tried.
bool HasSoundHeader(std::span<const uint8_t> record) {
    const LeReader r(record);
    if (!r.Has(0, kFileRecordHeaderSize) || r.U32(0) != kFileMagic) return false;
    const size_t count = r.U16(6);
    if (count > kMaxUpdateSequenceCount) return false;
    if (count > 0 && count - 1 > record.size() / kFixupStride) return false;
    const size_t usaOffset = r.U16(4);
    return usaOffset >= kMinUpdateSequenceOffset && usaOffset <= kMaxUpdateSequenceOffset;
}

// Every attribute of the record as it stands is sound, and so are its data runs and names. index,
// when given, receives where the attributes start.
bool HasSoundAttributes(std::span<const uint8_t> record, FileRecord::AttributeIndex* index) {
    FileRecord::AttributeIndex found;
    bool sound = true;
    bool overflow = false;
    const bool walked = Walk(record, [&](const Attribute& a) {
        if (a.Type() == kAttrData && !a.IsResident() && !IsValidMappingPairs(a.MappingPairs())) sound = false;
        if (a.Type() == kAttrFileName && !HasValidFileNameCharacters(a.Value())) sound = false;
        if (found.count < found.offsets.size()) {
            found.offsets[found.count++] = static_cast<uint16_t>(a.Offset());
        } else {
            overflow = true;
        }
        return sound;
    });
    if (!walked || !sound) return false;
    if (index) {
        *index = found;
        index->complete = !overflow;
    }
    return true;
}

}  // namespace

bool IsUsableRecordSize(uint32_t bytes) {
    return bytes >= 512 && bytes <= 65536 && bytes % 512 == 0;
}

bool WalkAttributes(std::span<const uint8_t> record, const std::function<bool(const Attribute&)>& visit) {
    return Walk(record, visit);
}

bool IsValidFileRecord(std::span<uint8_t> record) {
    if (!HasSoundHeader(record)) return false;
    // A fix-up that does not match still leaves the attributes to be judged.
    const ScopedFixup fixup(record);
    return HasSoundAttributes(record, nullptr);
}

FileRecord::FileRecord(std::span<uint8_t> buffer, bool copy) {
    Open(buffer, copy);
}

FileRecord::FileRecord(std::span<const uint8_t> buffer) {
    copy_.assign(buffer.begin(), buffer.end());
    Open(copy_, false);
    inPlace_ = false;
}

FileRecord::~FileRecord() {
    Release();
}

FileRecord::FileRecord(FileRecord&& other) noexcept {
    *this = std::move(other);
}

FileRecord& FileRecord::operator=(FileRecord&& other) noexcept {
    if (this == &other) return *this;
    Release();
    const bool valid = !other.view_.empty();
    inPlace_ = other.inPlace_;
    fixedUp_ = other.fixedUp_;
    index_ = other.index_;
    copy_ = std::move(other.copy_);
    if (valid) view_ = inPlace_ ? other.view_ : std::span<uint8_t>(copy_);
    other.copy_.clear();
    other.view_ = {};
    other.inPlace_ = false;
    other.fixedUp_ = false;
    other.index_ = {};
    return *this;
}

void FileRecord::Open(std::span<uint8_t> buffer, bool copy) {
    std::span<uint8_t> target = buffer;
    if (copy) {
        copy_.assign(buffer.begin(), buffer.end());
        target = copy_;
    }
    if (!HasSoundHeader(target)) {
        copy_.clear();
        return;
    }
    // The record is judged as it is viewed: fixed up when the fix-up matches.
    const bool fixedUp = ApplyFixup(target);
    if (!HasSoundAttributes(target, &index_)) {
        if (fixedUp) RevertFixup(target);
        index_ = {};
        copy_.clear();
        return;
    }
    view_ = target;
    inPlace_ = !copy;
    fixedUp_ = fixedUp;
}

void FileRecord::Release() {
    if (inPlace_ && fixedUp_) RevertFixup(view_);
    view_ = {};
    copy_.clear();
    inPlace_ = false;
    fixedUp_ = false;
    index_ = {};
}

uint16_t FileRecord::GetFlags() const {
    return LeReader(view_).U16(22);
}
uint64_t FileRecord::GetBaseReference() const {
    return LeReader(view_).U64(32);
}
uint64_t FileRecord::GetLsn() const {
    return LeReader(view_).U64(8);
}
uint16_t FileRecord::GetSequenceNumber() const {
    return LeReader(view_).U16(16);
}
uint16_t FileRecord::GetHardLinkCount() const {
    return LeReader(view_).U16(18);
}
uint32_t FileRecord::GetBytesInUse() const {
    return LeReader(view_).U32(24);
}
uint32_t FileRecord::GetBytesAllocated() const {
    return LeReader(view_).U32(28);
}

int64_t FileRecord::GetRecordNumber() const {
    const LeReader r(view_);
    if (view_.empty() || r.U16(4) < kFileRecordHeaderSize) return -1;
    return r.U32(44);
}

std::optional<Attribute> FileRecord::FindAttribute(uint32_t type, int index, int64_t* recordSector) const {
    if (recordSector) *recordSector = -1;
    std::optional<Attribute> found;
    if (index < 0 || view_.empty()) return found;
    int seen = 0;
    VisitAttributes([&](const Attribute& a) {
        if (a.Type() != type) return true;
        if (seen++ == index) found = a;
        return !found;
    });
    return found;
}

int FileRecord::CountAttributes(uint32_t type) const {
    int count = 0;
    VisitAttributes([&count, type](const Attribute& a) {
        if (a.Type() == type) ++count;
        return true;
    });
    return count;
}

void FileRecord::ForEachAttribute(const std::function<bool(const Attribute&)>& visit) const {
    VisitAttributes(visit);
}

}  // namespace keldrin::ntfs
