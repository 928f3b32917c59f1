#include "engine/output/SafeName.h"

#include "engine/model/Utf8Cut.h"

namespace keldrin::output {

void SplitExtension(std::string_view name, std::string_view& base, std::string_view& extension) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        base = name;
        extension = {};
        return;
    }
    base = name.substr(0, dot);
    extension = name.substr(dot);
}

std::string JoinWithin(std::string_view base, std::string_view suffix, std::string_view extension,
                       size_t maxBytes) {
    if (suffix.size() + extension.size() >= maxBytes) {
        // No room for the extension: keep what fits of the whole.
        std::string whole = std::string(base) + std::string(suffix) + std::string(extension);
        return whole.substr(0, Utf8PrefixLength(whole, maxBytes));
    }
    const size_t room = maxBytes - suffix.size() - extension.size();
    std::string out(base.substr(0, Utf8PrefixLength(base, room)));
    out += suffix;
    out += extension;
    return out;
}

std::string SafeFileName(std::string_view name, size_t maxBytes) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) out += (c == '/' || c == '\0') ? '_' : c;
    if (out.empty()) return "_";
    if (out == "." || out == "..") return "_" + out;
    if (out.size() <= maxBytes) return out;
    std::string_view base, extension;
    SplitExtension(out, base, extension);
    // A "." far from the end does not start an extension worth keeping.
    if (extension.size() > 32) {
        base = out;
        extension = {};
    }
    return JoinWithin(base, {}, extension, maxBytes);
}

}  // namespace keldrin::output
