#include "platform/MountInfo.h"

#include <sys/sysmacros.h>

#include <charconv>
#include <fstream>
#include <mutex>
#include <sstream>

namespace keldrin::platform {
namespace {

constexpr const char* kDefaultMountInfo = "/proc/self/mountinfo";

std::mutex& PathMutex() {
    static std::mutex m;
    return m;
}

std::string& CurrentPath() {
    static std::string path = kDefaultMountInfo;
    return path;
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// The kernel writes space, tab, newline and backslash in paths as \ooo.
std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
            IsOctal(field[i + 3])) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') ++at;
        size_t end = at;
        while (end < line.size() && line[end] != ' ') ++end;
        if (end > at) fields.push_back(line.substr(at, end - at));
        at = end;
    }
    return fields;
}

bool ParseNumber(std::string_view text, unsigned& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ParseDeviceNumber(std::string_view text, uint64_t& device) {
    const size_t colon = text.find(':');
    unsigned major = 0, minor = 0;
    if (colon == std::string_view::npos || !ParseNumber(text.substr(0, colon), major) ||
        !ParseNumber(text.substr(colon + 1), minor))
        return false;
    device = makedev(major, minor);
    return true;
}

}  // namespace

void SetMountInfoPath(const std::string& path) {
    std::lock_guard lock(PathMutex());
    CurrentPath() = path;
}

void ResetMountInfoPath() {
    SetMountInfoPath(kDefaultMountInfo);
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);

        // id parent major:minor root mount-point options [optional...] - type source super-options
        const std::vector<std::string_view> fields = SplitFields(line);
        size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-") ++dash;
        MountEntry entry;
        if (dash + 2 >= fields.size() || !ParseDeviceNumber(fields[2], entry.deviceNumber)) continue;
        entry.root = Unescape(fields[3]);
        entry.mountPoint = Unescape(fields[4]);
        entry.fsType = Unescape(fields[dash + 1]);
        entry.source = Unescape(fields[dash + 2]);
        mounts.push_back(std::move(entry));
    }
    return mounts;
}

std::vector<MountEntry> ReadMountInfo() {
    std::string path;
    {
        std::lock_guard lock(PathMutex());
        path = CurrentPath();
    }
    std::ifstream in(path);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return ParseMountInfo(text.str());
}

std::string FindMountPoint(const std::vector<MountEntry>& mounts, uint64_t deviceNumber) {
    if (deviceNumber == 0) return {};  // "no device" in the callers
    const MountEntry* any = nullptr;
    for (const MountEntry& m : mounts) {
        if (m.deviceNumber != deviceNumber) continue;
        if (m.root == "/") return m.mountPoint;
        if (!any) any = &m;
    }
    return any ? any->mountPoint : std::string();
}

}  // namespace keldrin::platform
