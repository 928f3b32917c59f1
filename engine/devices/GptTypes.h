// The GPT partition types that are listed as partitions, each with the system that uses it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace keldrin {

struct KnownGptType {
    const char* guid;    // upper-case registry form, 36 characters
    const char* system;  // "Windows", "Linux", "Mac OS X", ...
};

// In table order; the first entry of a GUID wins a look-up.
std::span<const KnownGptType> KnownGptTypes();

// The 16 on-disk bytes as "%08X-%04X-%04X-%02X%02X-%02X..." (the first three groups little-endian).
std::string FormatGptGuid(const uint8_t* bytes);

// Null when the GUID text is not in the table.
const KnownGptType* FindKnownGptType(std::string_view guid);

}  // namespace keldrin
