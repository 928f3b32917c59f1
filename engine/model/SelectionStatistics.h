// The counts of files and of checked files below a file-system node, shown on the file pages and
// read by the recovery writer.
#pragma once

#include <cstdint>

#include "engine/model/FileProperties.h"

namespace keldrin {

struct SelectionStatistics {
    uint32_t files = 0;  // folders are not counted
    uint32_t checkedFiles = 0;
    uint64_t totalSize = 0;
    uint64_t checkedSize = 0;
    uint32_t compressedFiles = 0;
    uint32_t checkedCompressedFiles = 0;
    uint32_t encryptedFiles = 0;
    uint32_t checkedEncryptedFiles = 0;

    friend bool operator==(const SelectionStatistics&, const SelectionStatistics&) = default;
};
static_assert(sizeof(SelectionStatistics) == 40);

// Counts one file with its current check state; folders and null properties count nothing. A
// file marked both compressed and encrypted counts as encrypted only.
void CountFile(SelectionStatistics& statistics, const IFileProperties* properties);

// After the files counted in subtree were all checked (checking true) or unchecked: moves the
// checked counters of statistics, which covers those files, by the change.
void ApplyCheckChange(SelectionStatistics& statistics, const SelectionStatistics& subtree, bool checking);

}  // namespace keldrin
