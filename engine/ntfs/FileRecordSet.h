// A base file record together with the extension records its $ATTRIBUTE_LIST names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/ntfs/Attributes.h"
#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/MftMap.h"

namespace keldrin::ntfs {

// A non-resident attribute list is read into at most this many bytes; real lists are far smaller,
// and an allocated size read from a damaged record must not choose the allocation.
inline constexpr size_t kMaxAttributeListBytes = 256 * 1024;

struct ExtensionRecord {
    int64_t recordNumber = 0;
    int64_t sector = 0;  // first sector of the record on the device
    friend bool operator==(const ExtensionRecord&, const ExtensionRecord&) = default;
};

class FileRecordSet : public AttributeSource {
  public:
    // The base record is copied. Extension records are placed through mft (which must outlive the
    // set) and read from device the first time a search reaches them; without a device none is.
    FileRecordSet(std::span<const uint8_t> baseRecord, int64_t baseSector, IStorageDevice* device,
                  const MftMap& mft);
    // Takes over a record already opened (in place or copied): readers that walk millions of
    // records in a buffer of their own need no copy of each.
    FileRecordSet(FileRecord baseRecord, int64_t baseSector, IStorageDevice* device, const MftMap& mft);

    bool IsValid() const { return base_.IsValid(); }
    bool IsInUse() const { return base_.IsInUse(); }
    const FileRecord& Base() const { return base_; }
    int64_t BaseSector() const { return baseSector_; }
    // Every distinct record the attribute list names, in list order, without the base record and
    // without those the $MFT runs do not place.
    const std::vector<ExtensionRecord>& Extensions() const { return extensions_; }

    // Searches the base record, then the extension records in list order, numbering the
    // attributes of one type across all of them. Attribute::Offset is the offset in its record.
    std::optional<Attribute> FindAttribute(uint32_t type, int index,
                                           int64_t* recordSector = nullptr) const override;

  private:
    void CollectExtensions();
    // The bytes of the attribute list; storage holds them when the list is not resident.
    std::span<const uint8_t> ReadAttributeList(const Attribute& list, std::vector<uint8_t>& storage) const;
    // The index-th extension record, read on first use; null when it cannot be read or does not
    // belong to this base record.
    const FileRecord* Extension(size_t index) const;

    FileRecord base_;
    int64_t baseSector_;
    IStorageDevice* device_;
    const MftMap* mft_;
    std::vector<ExtensionRecord> extensions_;
    // Filled lazily by the const searches.
    mutable std::vector<std::optional<FileRecord>> loaded_;
};

}  // namespace keldrin::ntfs
