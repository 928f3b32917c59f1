// The date test of "Search files": one of the file's three times between two FILETIME values.
#pragma once

#include <cstdint>

#include "engine/model/FileProperties.h"

namespace keldrin {

// Which time: entry n of "Modified", "Created", "Accessed" gives 1 << n.
inline constexpr int32_t kDateModified = 1;
inline constexpr int32_t kDateCreated = 2;
inline constexpr int32_t kDateAccessed = 4;

inline constexpr int kMaxLastMonths = 120;
inline constexpr int kMaxLastDays = 31;
// A month of the "in last" choice is 30 days.
inline constexpr uint64_t kFileTimeTicksPerMonth = 25920000000000ull;

struct DateCriterion {
    int32_t which = kDateModified;
    uint64_t from = 0;
    uint64_t to = 0;

    // The time must be present (type code bit) and lie in [from, to], as unsigned values. Null
    // properties and any other time code fail.
    bool Matches(const IFileProperties* properties) const;

    // "in last" N "month." (1 to 120) and "in last" N "days." (1 to 31), ending at now. False for N
    // out of range. A start before 1601 is 1601.
    static bool InLastMonths(int32_t which, int months, uint64_t now, DateCriterion& out);
    static bool InLastDays(int32_t which, int days, uint64_t now, DateCriterion& out);
};

}  // namespace keldrin
