// The one UTF-16LE to UTF-8 converter of the engine: on-disk names (NTFS, FAT long names) and labels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace keldrin::platform {

// Converts count UTF-16 code units read little-endian from bytes. Surrogate pairs become one
// code point; an unpaired surrogate becomes "_". A zero unit is kept as a zero byte; callers that
// want a C string stop at it themselves.
std::string Utf16LeToUtf8(const uint8_t* bytes, size_t count);
std::string Utf16ToUtf8(const char16_t* units, size_t count);

// Appends the UTF-8 form of one code point (U+FFFD for values past U+10FFFF).
void AppendUtf8(std::string& out, uint32_t codePoint);

}  // namespace keldrin::platform
