#include "cli/Format.h"

#include <cstdio>

namespace keldrin::cli {

std::string FormatSize(uint64_t bytes) {
    constexpr double kKiB = 1024.0;
    const double b = static_cast<double>(bytes);
    char text[64];
    if (b >= kKiB * kKiB * kKiB * kKiB) {
        std::snprintf(text, sizeof text, "%.2f TB", b / (kKiB * kKiB * kKiB * kKiB));
    } else if (b >= kKiB * kKiB * kKiB) {
        std::snprintf(text, sizeof text, "%.2f GB", b / (kKiB * kKiB * kKiB));
    } else if (b >= kKiB * kKiB) {
        std::snprintf(text, sizeof text, "%.2f MB", b / (kKiB * kKiB));
    } else if (b >= kKiB) {
        std::snprintf(text, sizeof text, "%.2f KB", b / kKiB);
    } else {
        std::snprintf(text, sizeof text, "%llu Byte", static_cast<unsigned long long>(bytes));
    }
    return text;
}

}  // namespace keldrin::cli
