// The size test of "Search files": at most or at least a number of KB, both ends included.
#pragma once

#include <cstdint>

#include "engine/model/FileProperties.h"

namespace keldrin {

// Entry n of "less than", "more than" gives comparison n + 1.
inline constexpr int32_t kSizeAtMost = 1;
inline constexpr int32_t kSizeAtLeast = 2;
inline constexpr uint64_t kMaxSizeKb = 1000000000;

struct SizeCriterion {
    int32_t comparison = kSizeAtMost;
    uint64_t limit = 0;  // bytes

    // The size must be present (type code bit 0x02); any other comparison fails.
    bool Matches(const IFileProperties* properties) const;

    // limit = kb * 1024; false for kb over kMaxSizeKb.
    static bool FromKb(int32_t comparison, uint64_t kb, SizeCriterion& out);
};

}  // namespace keldrin
