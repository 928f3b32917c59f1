// Texts for sizes, as the wizard shows them.
#pragma once

#include <cstdint>
#include <string>

namespace keldrin::cli {

// "%.2f TB", "%.2f GB", "%.2f MB", "%.2f KB", or "N Byte" below one KiB.
std::string FormatSize(uint64_t bytes);

}  // namespace keldrin::cli
