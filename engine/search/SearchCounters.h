// The sixteen counters of a running sector scan: 0 to 7 are shown by the scan display, 8 to 15 are
// working counts of the analysers.
#pragma once

#include <cstdint>

namespace keldrin {

inline constexpr int kCounterPartitionTables = 0;
inline constexpr int kCounterFatBootRecords = 1;
inline constexpr int kCounterFatFolders = 2;
inline constexpr int kCounterFatFolderParts = 3;
inline constexpr int kCounterNtfsBootRecords = 4;
inline constexpr int kCounterNtfsFileRecords = 5;
inline constexpr int kCounterFilesIdentified = 6;
inline constexpr int kCounterTotalFilesFound = 7;
inline constexpr int kSearchCounterCount = 16;

struct SearchCounters {
    int64_t value[kSearchCounterCount] = {};

    // The per-block working counters, zeroed by the driver before every block.
    void ResetBlockCounters() { value[8] = value[9] = value[11] = value[14] = value[15] = 0; }
};

}  // namespace keldrin
