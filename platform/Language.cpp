#include "platform/Language.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace keldrin::platform {
namespace {

Language FromName(const std::string& name) {
    return name == "Deutsch" ? kGerman : kEnglish;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

}  // namespace

Language CurrentLanguage() {
    if (const char* env = std::getenv("KELDRIN_LANGUAGE"); env && *env) return FromName(env);
    std::string config;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
        config = x;
    } else if (const char* h = std::getenv("HOME"); h && *h) {
        config = std::string(h) + "/.config";
    } else {
        return kEnglish;
    }
    std::ifstream in(config + "/Ostrevan/Keldrin.conf");
    std::string line;
    std::string group;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            group = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (group == "Language" && Trim(line.substr(0, eq)) == "Language")
            return FromName(Trim(line.substr(eq + 1)));
    }
    return kEnglish;
}

}  // namespace keldrin::platform
