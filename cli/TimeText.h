// FILETIME values (100 ns since 1601) as ISO 8601 UTC text.
#pragma once

#include <cstdint>
#include <string>

namespace keldrin::cli {

// "2024-03-01T10:00:00Z", with a fraction of a second when there is one; "-" for 0.
std::string FileTimeToIso(uint64_t fileTime);
// The same text appended to out (listings write one per file into a buffer of their own).
void AppendFileTimeIso(std::string& out, uint64_t fileTime);

}  // namespace keldrin::cli
