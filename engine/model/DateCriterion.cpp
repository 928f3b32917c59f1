#include "engine/model/DateCriterion.h"

#include "engine/model/FileTime.h"

namespace keldrin {
namespace {

DateCriterion Ending(int32_t which, uint64_t span, uint64_t now) {
    return {which, now >= span ? now - span : 0, now};
}

}  // namespace

bool DateCriterion::Matches(const IFileProperties* properties) const {
    if (!properties) return false;
    const uint32_t present = properties->GetTypeCode();
    uint64_t time = 0;
    switch (which) {
        case kDateModified:
            if (!(present & kHasModificationTime)) return false;
            time = properties->GetModificationTime();
            break;
        case kDateCreated:
            if (!(present & kHasCreationTime)) return false;
            time = properties->GetCreationTime();
            break;
        case kDateAccessed:
            if (!(present & kHasAccessTime)) return false;
            time = properties->GetAccessTime();
            break;
        default:
            return false;
    }
    return from <= time && time <= to;
}

bool DateCriterion::InLastMonths(int32_t which, int months, uint64_t now, DateCriterion& out) {
    if (months < 1 || months > kMaxLastMonths) return false;
    out = Ending(which, static_cast<uint64_t>(months) * kFileTimeTicksPerMonth, now);
    return true;
}

bool DateCriterion::InLastDays(int32_t which, int days, uint64_t now, DateCriterion& out) {
    if (days < 1 || days > kMaxLastDays) return false;
    out = Ending(which, static_cast<uint64_t>(days) * kFileTimeTicksPerDay, now);
    return true;
}

}  // namespace keldrin
