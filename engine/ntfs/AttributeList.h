// The records an $ATTRIBUTE_LIST value names.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace keldrin::ntfs {

// Every distinct record number the list names, in list order, leaving out skip. A list names a
// record once per attribute it holds, so each comes back once. The walk stops at an entry of type
// 0, an entry shorter than its fixed part, or the end of the bytes.
std::vector<int64_t> ListedRecords(std::span<const uint8_t> list, int64_t skip);

}  // namespace keldrin::ntfs
