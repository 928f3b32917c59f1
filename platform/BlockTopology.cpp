#include "platform/BlockTopology.h"

#include <sys/sysmacros.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "platform/DiskList.h"

namespace keldrin::platform {
namespace {

namespace fs = std::filesystem;

// dm on md on dm is already unusual; deeper chains are taken as a loop in the tree.
constexpr int kMaxStackDepth = 8;

std::string ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool ParseInt(std::string_view text, int64_t& value) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.remove_suffix(1);
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

int64_t ReadInt(const fs::path& file) {
    int64_t value = 0;
    return ParseInt(ReadLine(file), value) && value >= 0 ? value : 0;
}

uint64_t ReadDevFile(const fs::path& file) {
    const std::string text = ReadLine(file);
    const size_t colon = text.find(':');
    int64_t major = 0, minor = 0;
    if (colon == std::string::npos || !ParseInt(std::string_view(text).substr(0, colon), major) ||
        !ParseInt(std::string_view(text).substr(colon + 1), minor) || major < 0 || minor < 0 ||
        major > 0xFFFFFFFF || minor > 0xFFFFFFFF)
        return 0;
    return makedev(static_cast<unsigned>(major), static_cast<unsigned>(minor));
}

std::vector<fs::path> SubFolders(const fs::path& folder) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code probe;
        if (it->is_directory(probe)) out.push_back(it->path());
    }
    return out;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        out.push_back(it->path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// One block device of the tree under <sys>/block: a top-level device or a partition of one.
struct Node {
    std::string disk;  // the top-level device it belongs to (itself when top-level)
    bool partition = false;
    int64_t start = 0;
    int64_t sectors = 0;
    std::vector<std::string> slaves;
};

struct Tree {
    std::map<std::string, Node> byName;
    std::map<uint64_t, std::string> byNumber;
};

Tree ReadTree() {
    Tree tree;
    const fs::path block = fs::path(GetDiskListRoots().sys) / "block";
    for (const fs::path& top : SubFolders(block)) {
        const std::string name = top.filename().string();
        Node node{name, false, 0, ReadInt(top / "size"), Names(top / "slaves")};
        if (const uint64_t dev = ReadDevFile(top / "dev")) tree.byNumber.emplace(dev, name);
        tree.byName[name] = std::move(node);
        for (const fs::path& sub : SubFolders(top)) {
            if (!Exists(sub / "partition")) continue;
            const std::string part = sub.filename().string();
            tree.byName[part] = Node{name, true, ReadInt(sub / "start"), ReadInt(sub / "size"), {}};
            if (const uint64_t dev = ReadDevFile(sub / "dev")) tree.byNumber.emplace(dev, part);
        }
    }
    return tree;
}

void Collect(const Tree& tree, const std::string& name, int depth, std::vector<BlockExtent>& out) {
    const auto it = tree.byName.find(name);
    if (it == tree.byName.end() || depth > kMaxStackDepth) return;
    const Node& node = it->second;
    if (node.partition) {
        out.push_back({node.disk, node.start, node.sectors});
    } else if (!node.slaves.empty()) {
        for (const std::string& slave : node.slaves) Collect(tree, slave, depth + 1, out);
    } else {
        out.push_back({node.disk, 0, node.sectors});
    }
}

bool HasComponent(std::string_view path, std::string_view prefix, bool numbered) {
    size_t at = 0;
    while (at <= path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(at, end - at);
        if (part.starts_with(prefix)) {
            const std::string_view rest = part.substr(prefix.size());
            if (!numbered ? rest.empty() : !rest.empty() && std::all_of(rest.begin(), rest.end(), [](char c) {
                    return c >= '0' && c <= '9';
                }))
                return true;
        }
        at = end + 1;
    }
    return false;
}

}  // namespace

std::string BusFromDevicePath(std::string_view path) {
    if (HasComponent(path, "usb", true)) return "usb";
    if (HasComponent(path, "ata", true)) return "ata";
    if (HasComponent(path, "nvme", false) || HasComponent(path, "nvme", true)) return "nvme";
    if (HasComponent(path, "mmc_host", false) || HasComponent(path, "mmc", true)) return "mmc";
    if (HasComponent(path, "host", true)) return "scsi";
    if (HasComponent(path, "virtio", true)) return "virtio";
    return {};
}

DiskFacts ReadDiskFacts(const std::string& diskName) {
    DiskFacts facts;
    if (diskName.empty() || diskName.find('/') != std::string::npos) return facts;
    const fs::path sys = GetDiskListRoots().sys;
    const fs::path entry = sys / "block" / diskName;
    facts.vendor = ReadLine(entry / "device" / "vendor");
    facts.model = ReadLine(entry / "device" / "model");
    facts.deviceNumber = ReadDevFile(entry / "dev");
    std::error_code ec;
    const fs::path resolved = fs::canonical(entry, ec);
    if (!ec) {
        // Only the folders between the sysfs root and the disk's own: neither the root's names nor the
        // disk's (a disk may be called "usb3") tell the bus.
        std::string text = resolved.parent_path().string();
        const fs::path root = fs::canonical(sys, ec);
        if (!ec && text.starts_with(root.string())) text.erase(0, root.string().size());
        facts.bus = BusFromDevicePath(text);
    }
    return facts;
}

std::vector<KernelPartition> ReadKernelPartitions(const std::string& diskName) {
    std::vector<KernelPartition> parts;
    if (diskName.empty() || diskName.find('/') != std::string::npos) return parts;
    const DiskListRoots roots = GetDiskListRoots();
    for (const fs::path& sub : SubFolders(fs::path(roots.sys) / "block" / diskName)) {
        if (!Exists(sub / "partition")) continue;
        KernelPartition p;
        p.name = sub.filename().string();
        p.number = static_cast<int>(std::min<int64_t>(ReadInt(sub / "partition"), 1 << 20));
        p.startSector = ReadInt(sub / "start");
        p.sectors = ReadInt(sub / "size");
        p.deviceNumber = ReadDevFile(sub / "dev");
        p.devicePath = (fs::path(roots.dev) / p.name).string();
        parts.push_back(std::move(p));
    }
    std::sort(parts.begin(), parts.end(), [](const KernelPartition& a, const KernelPartition& b) {
        return a.startSector != b.startSector ? a.startSector < b.startSector : a.name < b.name;
    });
    return parts;
}

std::vector<BlockExtent> ResolveBlockExtents(uint64_t deviceNumber) {
    std::vector<BlockExtent> out;
    if (deviceNumber == 0) return out;
    const Tree tree = ReadTree();
    const auto it = tree.byNumber.find(deviceNumber);
    if (it != tree.byNumber.end()) Collect(tree, it->second, 0, out);
    return out;
}

uint64_t ReadDeviceNumber(const std::string& blockName) {
    if (blockName.empty() || blockName.find('/') != std::string::npos) return 0;
    return ReadDevFile(fs::path(GetDiskListRoots().sys) / "block" / blockName / "dev");
}

std::string FloppyDevicePath(int drive) {
    return (fs::path(GetDiskListRoots().dev) / ("fd" + std::to_string(drive))).string();
}

}  // namespace keldrin::platform
