#include "platform/DiskList.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <system_error>

namespace keldrin::platform {
namespace {

std::mutex& RootsMutex() {
    static std::mutex m;
    return m;
}

DiskListRoots& CurrentRoots() {
    static DiskListRoots roots;
    return roots;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}

// A name split into its family and its value parts: "sdab" -> {"sd", {"ab"}},
// "nvme0n12" -> {"nvme", {"0", "12"}}.
struct DiskName {
    std::string_view family;
    std::vector<std::string_view> parts;
};

// Consumes a run of characters matching pred; empty when there is none.
template <typename Pred>
std::string_view TakeRun(std::string_view& rest, Pred pred) {
    size_t n = 0;
    while (n < rest.size() && pred(rest[n])) ++n;
    std::string_view run = rest.substr(0, n);
    rest.remove_prefix(n);
    return run;
}

std::optional<DiskName> ParseDiskName(std::string_view name) {
    // Longest prefix first: "xvd" would otherwise never be seen past "vd".
    static constexpr std::array<std::string_view, 4> kLetterFamilies = {"xvd", "sd", "vd", "hd"};
    for (std::string_view family : kLetterFamilies) {
        if (!name.starts_with(family)) continue;
        std::string_view rest = name.substr(family.size());
        std::string_view letters = TakeRun(rest, IsLower);
        if (letters.empty() || !rest.empty()) return std::nullopt;
        return DiskName{family, {letters}};
    }
    if (name.starts_with("nvme")) {
        std::string_view rest = name.substr(4);
        std::string_view controller = TakeRun(rest, IsDigit);
        if (controller.empty() || !rest.starts_with('n')) return std::nullopt;
        rest.remove_prefix(1);
        std::string_view ns = TakeRun(rest, IsDigit);
        if (ns.empty() || !rest.empty()) return std::nullopt;
        return DiskName{"nvme", {controller, ns}};
    }
    for (std::string_view family : {std::string_view("mmcblk"), std::string_view("loop")}) {
        if (!name.starts_with(family)) continue;
        std::string_view rest = name.substr(family.size());
        std::string_view number = TakeRun(rest, IsDigit);
        if (number.empty() || !rest.empty()) return std::nullopt;
        return DiskName{family, {number}};
    }
    return std::nullopt;
}

// Numbers by value and letter suffixes in kernel order (z < aa) both come to: shorter first, then
// by text. Leading zeros are dropped so that "01" equals "1".
int ComparePart(std::string_view a, std::string_view b) {
    auto strip = [](std::string_view s) {
        while (s.size() > 1 && s.front() == '0') s.remove_prefix(1);
        return s;
    };
    a = strip(a);
    b = strip(b);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

bool HasBackingFile(const std::filesystem::path& blockEntry) {
    std::ifstream in(blockEntry / "loop" / "backing_file");
    std::string line;
    return in && std::getline(in, line) && !line.empty();
}

}  // namespace

void SetDiskListRoots(const std::string& sysRoot, const std::string& devRoot) {
    std::lock_guard lock(RootsMutex());
    CurrentRoots() = DiskListRoots{sysRoot, devRoot};
}

void ResetDiskListRoots() {
    std::lock_guard lock(RootsMutex());
    CurrentRoots() = DiskListRoots{};
}

DiskListRoots GetDiskListRoots() {
    std::lock_guard lock(RootsMutex());
    return CurrentRoots();
}

bool IsWholeDiskName(std::string_view name) {
    return ParseDiskName(name).has_value();
}

bool DiskNameLess(std::string_view a, std::string_view b) {
    const std::optional<DiskName> pa = ParseDiskName(a);
    const std::optional<DiskName> pb = ParseDiskName(b);
    if (!pa || !pb) {
        if (pa || pb) return pa.has_value();
        return a < b;
    }
    // Attached images come after the real disks, so attaching one never renumbers a real disk.
    if (pa->family != pb->family) {
        const bool loopA = pa->family == "loop", loopB = pb->family == "loop";
        if (loopA != loopB) return loopB;
        return pa->family < pb->family;
    }
    for (size_t i = 0; i < pa->parts.size() && i < pb->parts.size(); ++i) {
        if (int c = ComparePart(pa->parts[i], pb->parts[i]); c != 0) return c < 0;
    }
    if (pa->parts.size() != pb->parts.size()) return pa->parts.size() < pb->parts.size();
    return a < b;
}

DiskList::DiskList() {
    const DiskListRoots roots = GetDiskListRoots();
    *this = DiskList(roots.sys, roots.dev);
}

DiskList::DiskList(const std::string& sysRoot, const std::string& devRoot) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Stepped with an error code: a range-for would throw when a listing step fails.
    for (fs::directory_iterator it(fs::path(sysRoot) / "block", ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        const std::optional<DiskName> parsed = ParseDiskName(name);
        if (!parsed) continue;
        // A partition entry carries a "partition" file, whatever its name looks like.
        std::error_code probe;
        if (fs::exists(entry.path() / "partition", probe)) continue;
        if (parsed->family == "loop" && !HasBackingFile(entry.path())) continue;
        disks_.push_back(DiskEntry{name, (fs::path(devRoot) / name).string()});
    }
    std::sort(disks_.begin(), disks_.end(),
              [](const DiskEntry& a, const DiskEntry& b) { return DiskNameLess(a.name, b.name); });
}

std::string DiskList::DevicePath(int64_t n) const {
    if (n < 0 || static_cast<uint64_t>(n) >= disks_.size()) return {};
    return disks_[static_cast<size_t>(n)].devicePath;
}

}  // namespace keldrin::platform
