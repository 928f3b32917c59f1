#include "engine/fat/FATFileProperties.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/fat/FATDataRunList.h"
#include "engine/model/FileTime.h"
#include "engine/model/Utf8Cut.h"

namespace keldrin::fat {

CFATFileProperties::CFATFileProperties(std::string_view name, uint64_t size, uint16_t attributes)
    : size_(size), attributes_(attributes) {
    const size_t length = Utf8PrefixLength(name, std::numeric_limits<uint16_t>::max());
    name_ = std::make_unique_for_overwrite<char[]>(length + 1);
    std::copy_n(name.data(), length, name_.get());
    name_[length] = '\0';
    nameLength_ = static_cast<uint16_t>(length);
}

std::unique_ptr<IDataRunList> CFATFileProperties::GetDataRunList() const {
    if (runs_.IsEmpty()) return nullptr;
    std::vector<Extent> extents;
    // A damaged string gives no extents at all: a partial list would copy a wrong file.
    if (!DecodeMappingPairs(runs_.GetBytes(), runs_.GetSize(), extents)) extents.clear();
    return std::make_unique<CFATDataRunList>(extents);
}

uint32_t CFATFileProperties::SetMark(uint32_t value) {
    mark_ = static_cast<uint8_t>(value);
    return 1;
}

void CFATFileProperties::SetTimes(uint64_t creation, uint64_t modification, uint64_t access) {
    creationTime_ = creation;
    modificationTime_ = modification;
    accessTime_ = access;
}

uint64_t DosTimeToFileTime(uint16_t date, uint16_t time) {
    const int year = 1980 + (date >> 9);
    const int month = (date >> 5) & 0x0F;
    const int day = date & 0x1F;
    const int hour = time >> 11;
    const int minute = (time >> 5) & 0x3F;
    const int second = (time & 0x1F) * 2;
    uint64_t out = 0;
    if (!CivilToFileTime(year, month, day, hour, minute, second, out)) return 0;
    return out;
}

}  // namespace keldrin::fat
