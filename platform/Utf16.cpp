#include "platform/Utf16.h"

namespace keldrin::platform {
namespace {

template <typename Unit>
std::string Convert(size_t count, Unit unitAt) {
    std::string out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
            const uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            out.push_back('_');
            continue;
        }
        AppendUtf8(out, u);
    }
    return out;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | cp >> 6));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | cp >> 12));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | cp >> 18));
        out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string Utf16LeToUtf8(const uint8_t* bytes, size_t count) {
    return Convert(count,
                   [bytes](size_t i) { return uint32_t{bytes[2 * i]} | uint32_t{bytes[2 * i + 1]} << 8; });
}

std::string Utf16ToUtf8(const char16_t* units, size_t count) {
    return Convert(count, [units](size_t i) { return uint32_t{units[i]}; });
}

}  // namespace keldrin::platform
