// Names from damaged or hostile volumes made safe to create inside a destination folder: a name
// never climbs out of its folder or names another one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace keldrin::output {

// The longest name a Linux file system takes, in bytes.
inline constexpr size_t kMaxNameBytes = 255;

// "/" and NUL become "_"; "." and ".." become "_." and "_.."; an empty name becomes "_"; a name
// longer than maxBytes is shortened on a UTF-8 boundary, keeping its extension.
std::string SafeFileName(std::string_view name, size_t maxBytes = kMaxNameBytes);

// Splits name at its last "." into base and extension (with the dot); no "." gives an empty
// extension.
void SplitExtension(std::string_view name, std::string_view& base, std::string_view& extension);

// base + suffix + extension cut to maxBytes by shortening the base on a character boundary.
std::string JoinWithin(std::string_view base, std::string_view suffix, std::string_view extension,
                       size_t maxBytes = kMaxNameBytes);

}  // namespace keldrin::output
