#include "engine/model/SizeCriterion.h"

namespace keldrin {

bool SizeCriterion::Matches(const IFileProperties* properties) const {
    if (!properties || !(properties->GetTypeCode() & kHasSize)) return false;
    const uint64_t size = properties->GetFileSize();
    switch (comparison) {
        case kSizeAtMost:
            return size <= limit;
        case kSizeAtLeast:
            return size >= limit;
        default:
            return false;
    }
}

bool SizeCriterion::FromKb(int32_t comparison, uint64_t kb, SizeCriterion& out) {
    if (kb > kMaxSizeKb) return false;
    out = {comparison, kb * 1024};
    return true;
}

}  // namespace keldrin
