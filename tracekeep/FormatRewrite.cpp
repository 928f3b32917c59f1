#include "tracekeep/FormatRewrite.h"

#include <cstring>

namespace tracekeep {

std::string RewriteFormat(const char* format) {
    std::string out;
    out.reserve(std::strlen(format) + 8);
    for (const char* p = format; *p;) {
        if (*p != '%') {
            out.push_back(*p++);
            continue;
        }
        out.push_back(*p++);
        if (*p == '%') {
            out.push_back(*p++);
            continue;
        }
        // flags, width, precision
        while (*p && std::strchr("-+ #0123456789.*", *p)) out.push_back(*p++);
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            out += "ll";
            p += 3;
        } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
            p += 3;
        }
    }
    return out;
}

}  // namespace tracekeep
