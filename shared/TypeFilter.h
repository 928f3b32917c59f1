// The process-wide file-type filter that tree builders ask for every file name. Guarded by its own
// lock because the builders ask from their worker threads; while it is off (nearly always) a flag
// answers without the lock, so threads that ask for every record do not contend for it.
#pragma once

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace keldrin {

class FileTypeFilter {
  public:
    // True for no name, for folders, and while the filter is off (empty set); otherwise true only
    // when the name has a "." and its text from the last "." on, lower-cased, is in the set.
    bool Passes(const char* name, bool isFolder) const;

    // Replaces the set; each extension is lower-cased and given a leading dot when it lacks one.
    // An empty list switches the filter off.
    void Set(const std::vector<std::string>& extensions);

    bool IsOff() const;

  private:
    mutable std::mutex mutex_;
    std::set<std::string, std::less<>> extensions_;
    std::atomic<bool> off_ = true;  // extensions_ is empty
};

// The one filter, empty (off) on the first call.
FileTypeFilter& GetTypeFilter();

bool PassesTypeFilter(const char* name, bool isFolder);
void SetTypeFilter(const std::vector<std::string>& extensions);

}  // namespace keldrin
