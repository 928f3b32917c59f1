#include "platform/DataFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace keldrin::platform {
namespace {

std::string NonEmptyEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}

std::string HomeFolder() {
    std::string home = NonEmptyEnv("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

}  // namespace

std::string DataFolder() {
    std::filesystem::path folder;
    if (std::string v = NonEmptyEnv("KELDRIN_HOME"); !v.empty()) {
        folder = v;
    } else if (std::string x = NonEmptyEnv("XDG_DATA_HOME"); !x.empty()) {
        folder = std::filesystem::path(x) / "keldrin";
    } else if (std::string h = HomeFolder(); !h.empty()) {
        folder = std::filesystem::path(h) / ".local" / "share" / "keldrin";
    } else {
        return {};
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec)) return {};
    return folder.string();
}

std::string DataFile(const std::string& name) {
    std::string folder = DataFolder();
    if (folder.empty()) return {};
    return (std::filesystem::path(folder) / name).string();
}

}  // namespace keldrin::platform
