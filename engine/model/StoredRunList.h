// The compact form in which file properties keep their extents: a mapping-pairs string (usually
// a few bytes per file) and, for a value resident in an MFT record, the value's offset in its
// record sector. It is expanded into an IDataRunList only when the data is needed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/model/DataRunList.h"
#include "engine/model/Extent.h"

namespace keldrin {

// Owns its bytes, exactly as many as the encoding needs; a string of a few bytes (most files have
// one extent) is kept inside the object rather than in an allocation of its own. An empty
// StoredRunList means "no stored form": the file has no data to copy.
class StoredRunList {
  public:
    StoredRunList() = default;

    // Encodes extents in order; zero-length extents carry no data and are left out. A nonzero
    // residentOffset marks a resident value (one extent: its record sector, 1 sector). Empty when
    // nothing is left to encode.
    static StoredRunList FromExtents(const std::vector<Extent>& extents, uint16_t residentOffset = 0);
    // The same for a list; a resident list keeps its offset (empty when the offset needs more
    // than 16 bits).
    static StoredRunList FromRunList(const IDataRunList& list);
    // Takes an already encoded string as it is (for example one read back from a file).
    static StoredRunList FromBytes(const uint8_t* bytes, size_t size, uint16_t residentOffset);

    bool IsEmpty() const { return size_ == 0; }
    const uint8_t* GetBytes() const {
        if (size_ == 0) return nullptr;
        return size_ <= kInlineBytes ? inline_.data() : bytes_.get();
    }
    uint32_t GetSize() const { return size_; }
    uint16_t GetResidentOffset() const { return residentOffset_; }

    // A new list, owned by the caller; null when there is no stored form.
    std::unique_ptr<IDataRunList> GetDataRunList() const;

  private:
    static constexpr size_t kInlineBytes = 8;
    // Encodes extents as they are (no zero lengths among them).
    static StoredRunList Encode(const std::vector<Extent>& extents, uint16_t residentOffset);

    std::array<uint8_t, kInlineBytes> inline_{};
    std::unique_ptr<uint8_t[]> bytes_;  // only for strings longer than kInlineBytes
    uint32_t size_ = 0;
    uint16_t residentOffset_ = 0;
};

// Expands a stored form kept elsewhere (the NTFS properties keep theirs inline). Null when size is
// 0; a string that cannot be decoded gives an empty list. With a nonzero residentOffset the result
// is a CResidentNTFSDataRunList holding the first decoded extent, else a
// CNoneResidentNTFSDataRunList.
std::unique_ptr<IDataRunList> DecodeStoredRuns(const uint8_t* bytes, size_t size, uint16_t residentOffset);

}  // namespace keldrin
