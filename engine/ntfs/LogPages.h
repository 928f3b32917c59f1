// Pages of $LogFile: restart pages ("RSTR") and log record pages ("RCRD").
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldrin::ntfs {

inline constexpr size_t kLogPageSize = 4096;  // 8 sectors

// At least 4096 bytes, "RSTR", the UTF-16 text "NTFS" at 144 (the client name), and the ends of
// all 8 sectors equal to the update sequence number at 30.
bool IsValidRestartPage(std::span<const uint8_t> page);
// At least 4096 bytes, "RCRD", update-sequence offset 40 and count 9, and the ends of all 8
// sectors equal to the update sequence number at 40.
bool IsLogRecordPage(std::span<const uint8_t> page);

}  // namespace keldrin::ntfs
