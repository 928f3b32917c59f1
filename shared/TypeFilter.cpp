#include "shared/TypeFilter.h"

#include <cstring>

namespace keldrin {
namespace {

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace

bool FileTypeFilter::Passes(const char* name, bool isFolder) const {
    if (!name || isFolder || off_.load(std::memory_order_acquire)) return true;
    std::lock_guard<std::mutex> lock(mutex_);
    if (extensions_.empty()) return true;
    const char* dot = std::strrchr(name, '.');
    if (!dot) return false;
    return extensions_.count(LowerAscii(dot)) != 0;
}

void FileTypeFilter::Set(const std::vector<std::string>& extensions) {
    std::set<std::string, std::less<>> next;
    for (const std::string& e : extensions) {
        if (e.empty()) continue;
        next.insert(LowerAscii(e.front() == '.' ? e : "." + e));
    }
    std::lock_guard<std::mutex> lock(mutex_);
    extensions_ = std::move(next);
    off_.store(extensions_.empty(), std::memory_order_release);
}

bool FileTypeFilter::IsOff() const {
    return off_.load(std::memory_order_acquire);
}

FileTypeFilter& GetTypeFilter() {
    static FileTypeFilter filter;
    return filter;
}

bool PassesTypeFilter(const char* name, bool isFolder) {
    return GetTypeFilter().Passes(name, isFolder);
}

void SetTypeFilter(const std::vector<std::string>& extensions) {
    GetTypeFilter().Set(extensions);
}

}  // namespace keldrin
