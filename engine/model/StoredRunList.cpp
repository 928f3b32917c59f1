#include "engine/model/StoredRunList.h"

#include <algorithm>
#include <limits>

namespace keldrin {

StoredRunList StoredRunList::FromExtents(const std::vector<Extent>& extents, uint16_t residentOffset) {
    const auto empty = [](const Extent& e) { return e.length == 0; };
    if (std::none_of(extents.begin(), extents.end(), empty)) return Encode(extents, residentOffset);
    std::vector<Extent> kept;
    kept.reserve(extents.size());
    // A zero length would make the whole string undecodable.
    for (const Extent& e : extents)
        if (e.length != 0) kept.push_back(e);
    return Encode(kept, residentOffset);
}

StoredRunList StoredRunList::Encode(const std::vector<Extent>& extents, uint16_t residentOffset) {
    // Straight into its place: every file of a tree is stored this way.
    StoredRunList stored;
    const size_t size = MappingPairsSize(extents);
    if (size == 0 || size > std::numeric_limits<uint32_t>::max()) return stored;
    if (size <= kInlineBytes) {
        EncodeMappingPairsInto(extents, stored.inline_.data());
    } else {
        stored.bytes_ = std::make_unique_for_overwrite<uint8_t[]>(size);
        EncodeMappingPairsInto(extents, stored.bytes_.get());
    }
    stored.size_ = static_cast<uint32_t>(size);
    stored.residentOffset_ = residentOffset;
    return stored;
}

StoredRunList StoredRunList::FromRunList(const IDataRunList& list) {
    uint16_t offset = 0;
    if (list.IsResident()) {
        if (list.GetResidentOffset() > std::numeric_limits<uint16_t>::max()) return {};
        offset = static_cast<uint16_t>(list.GetResidentOffset());
    }
    return FromExtents(list.GetExtents(), offset);
}

StoredRunList StoredRunList::FromBytes(const uint8_t* bytes, size_t size, uint16_t residentOffset) {
    StoredRunList stored;
    if (!bytes || size == 0 || size > std::numeric_limits<uint32_t>::max()) return stored;
    if (size <= kInlineBytes) {
        std::copy(bytes, bytes + size, stored.inline_.begin());
    } else {
        stored.bytes_ = std::make_unique_for_overwrite<uint8_t[]>(size);
        std::copy(bytes, bytes + size, stored.bytes_.get());
    }
    stored.size_ = static_cast<uint32_t>(size);
    stored.residentOffset_ = residentOffset;
    return stored;
}

std::unique_ptr<IDataRunList> StoredRunList::GetDataRunList() const {
    return DecodeStoredRuns(GetBytes(), size_, residentOffset_);
}

std::unique_ptr<IDataRunList> DecodeStoredRuns(const uint8_t* bytes, size_t size, uint16_t residentOffset) {
    if (!bytes || size == 0) return nullptr;
    std::vector<Extent> extents;
    // Damage anywhere makes the whole string worthless: a partial list would copy a wrong file.
    if (!DecodeMappingPairs(bytes, size, extents)) extents.clear();
    if (residentOffset != 0) {
        auto list = std::make_unique<CResidentNTFSDataRunList>(residentOffset);
        if (!extents.empty()) list->AddRun(extents.front());
        return list;
    }
    auto list = std::make_unique<CNoneResidentNTFSDataRunList>();
    for (const Extent& e : extents) list->AddRun(e);
    return list;
}

}  // namespace keldrin
