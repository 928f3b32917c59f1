#include "engine/devices/BadSectorMap.h"

#include <algorithm>
#include <new>

namespace keldrin {

void CBadSectorMap::AddRange(int64_t first, int64_t end) {
    std::lock_guard lock(mutex_);
    auto at = std::upper_bound(ranges_.begin(), ranges_.end(), first,
                               [](int64_t f, const BadSectorRange& r) { return f < r.first; });
    try {
        ranges_.insert(at, BadSectorRange{first, end});
    } catch (const std::bad_alloc&) {
        return;  // unrecorded, the region is only probed again on the next failing read
    }
    hasRanges_.store(true, std::memory_order_release);
}

bool CBadSectorMap::IsRangeBad(int64_t first, int64_t end) const {
    if (IsEmpty()) return false;
    std::lock_guard lock(mutex_);
    // The read's end is exclusive: a read that stops right before a region touches none of it.
    return std::any_of(ranges_.begin(), ranges_.end(),
                       [&](const BadSectorRange& r) { return end > r.first && r.end >= first; });
}

std::vector<BadSectorRange> CBadSectorMap::GetRanges() const {
    std::lock_guard lock(mutex_);
    return ranges_;
}

}  // namespace keldrin
