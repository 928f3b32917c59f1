#include "engine/output/TargetNames.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "engine/output/OutputFile.h"
#include "engine/output/SafeName.h"
#include "shared/Log.h"

namespace keldrin::output {
namespace {

// Enough for any real folder; a bound so that a file system answering "exists" to everything
// cannot hold the walk forever.
constexpr int kMaxFolderSuffix = 1000000;

std::string Suffix(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "_%03d", i);
    return text;
}

// 0, EEXIST or another errno.
int MakeDirectory(const std::string& path) {
    std::error_code error;
    if (std::filesystem::create_directory(path, error)) return 0;
    if (!error) return EEXIST;  // something of that name is there already
    return error.value() ? error.value() : EIO;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace

bool CreateUniqueDirectory(std::string& path) {
    int error = MakeDirectory(path);
    if (error == 0) return true;
    if (error != EEXIST) return false;
    std::string_view full = path;
    while (full.size() > 1 && full.back() == '/') full.remove_suffix(1);
    const size_t slash = full.rfind('/');
    const std::string parent(slash == std::string_view::npos ? "" : full.substr(0, slash + 1));
    const std::string_view name = slash == std::string_view::npos ? full : full.substr(slash + 1);
    for (int i = 0; i < kMaxFolderSuffix; ++i) {
        const std::string candidate = parent + JoinWithin(name, Suffix(i), {});
        error = MakeDirectory(candidate);
        if (error == 0) {
            path = candidate;
            return true;
        }
        if (error != EEXIST) return false;
    }
    return false;
}

int CreateUniqueFile(const std::string& folder, const std::string& name, std::string& outPath) {
    const std::string path = JoinPath(folder, name);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ENOENT;
    const std::string parent = path.substr(0, slash + 1);
    std::string_view base, extension;
    SplitExtension(std::string_view(path).substr(slash + 1), base, extension);
    for (int i = 0; i < 1000; ++i) {
        const std::string candidate = parent + JoinWithin(base, Suffix(i), extension);
        const int error = CreateNewFile(candidate);
        if (error == 0) {
            outPath = candidate;
            return 0;
        }
        if (error != EEXIST) return error;
    }
    return EEXIST;
}

bool CreateTargetFile(const std::string& root, const std::string& folder, const std::string& name,
                      std::string& outPath) {
    auto inRoot = [&]() {
        const std::string path = JoinPath(root, name);
        int error = CreateNewFile(path);
        if (error == 0) outPath = path;
        if (error == EEXIST) error = CreateUniqueFile(root, name, outPath);
        return error;
    };
    const std::string path = JoinPath(folder, name);
    int error = CreateNewFile(path);
    if (error == 0) {
        outPath = path;
        return true;
    }
    if (error == ENOENT || error == ENAMETOOLONG) {
        error = inRoot();
    } else if (error == EEXIST) {
        error = CreateUniqueFile(folder, name, outPath);
        if (error == ENOENT || error == ENAMETOOLONG) error = inRoot();
    }
    if (error != 0) {
        LogError("Error code:%d", error);
        return false;
    }
    return true;
}

}  // namespace keldrin::output
