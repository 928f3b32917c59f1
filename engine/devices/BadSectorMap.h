// The unreadable regions found on one raw device. Ranges are only added while the device lives,
// never merged or removed; every operation is locked, since the scan worker and the preview may
// read the same device at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace keldrin {

// Sectors first to end, both included.
struct BadSectorRange {
    int64_t first = 0;
    int64_t end = 0;

    bool operator==(const BadSectorRange&) const = default;
};

class CBadSectorMap {
  public:
    void AddRange(int64_t first, int64_t end);
    // Whether the read of sectors [first, end) meets a recorded range.
    bool IsRangeBad(int64_t first, int64_t end) const;
    bool IsEmpty() const { return !hasRanges_.load(std::memory_order_acquire); }
    // Ordered by first sector.
    std::vector<BadSectorRange> GetRanges() const;

  private:
    mutable std::mutex mutex_;
    std::vector<BadSectorRange> ranges_;
    // Lets the common case, a map with no ranges, answer without the lock.
    std::atomic<bool> hasRanges_{false};
};

}  // namespace keldrin
