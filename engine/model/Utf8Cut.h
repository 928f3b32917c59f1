// Cutting UTF-8 names to a byte limit without splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace keldrin {

// The length of the longest prefix of text that holds at most maxBytes bytes and does not end
// inside a multi-byte sequence. Bytes that are not valid UTF-8 are cut like single bytes.
inline size_t Utf8PrefixLength(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    auto isContinuation = [&](size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    // A sequence is at most 4 bytes, so its lead byte is at most 3 bytes before the cut.
    for (size_t back = 0; back <= 3 && back <= maxBytes; ++back)
        if (!isContinuation(maxBytes - back)) return maxBytes - back;
    return maxBytes;
}

}  // namespace keldrin
