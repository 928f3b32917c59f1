#include "engine/ntfs/AttributeList.h"

#include <set>

#include "engine/ntfs/LeReader.h"

namespace keldrin::ntfs {
namespace {

constexpr size_t kListEntryMinSize = 24;

}  // namespace

std::vector<int64_t> ListedRecords(std::span<const uint8_t> list, int64_t skip) {
    const LeReader r(list);
    std::vector<int64_t> records;
    std::set<int64_t> seen;
    size_t pos = 0;
    while (r.Has(pos, kListEntryMinSize)) {
        const uint32_t type = r.U32(pos);
        const size_t length = r.U16(pos + 4);
        if (type == 0 || length < kListEntryMinSize) break;
        const int64_t number = RecordNumberOf(r.U64(pos + 16));
        pos += length;
        if (number != skip && seen.insert(number).second) records.push_back(number);
    }
    return records;
}

}  // namespace keldrin::ntfs
