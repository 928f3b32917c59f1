// Texts for sizes and durations shared by the device lists and the progress dialogs, and the
// remaining-time estimate of the long operations. 64-bit throughout, so capacities of 2 TiB and more
// are shown as they are.
#pragma once

#include <cstdint>
#include <string>

namespace keldrin::ui {

// "%.2f TB", "%.2f GB", "%.2f MB" or "%.2f KB" (the last also for 0 and negative values).
std::string FormatSize(int64_t bytes);
// FormatSize of count × 512; a count too large for bytes is shown as the largest size.
std::string FormatSectors(int64_t count);
// The running totals of the recovering dialog: no TB, and below 1 KiB the whole number of bytes.
std::string FormatRunningTotal(int64_t bytes);
// "%02d:%02d:%02d" of milliseconds; negative values count as 0.
std::string FormatDuration(int64_t milliseconds);
// The same of whole seconds.
std::string FormatDurationSeconds(int64_t seconds);

// The remaining time of an operation from its progress so far, in steps of a tenth of a second.
class CRemainingTimeEstimator {
  public:
    void Start(int64_t total);
    void Start(int64_t total, int64_t nowMs);
    // Nothing when done <= 0: the previous estimate stays.
    void Update(int64_t done);
    void Update(int64_t done, int64_t nowMs);
    int64_t GetRemaining() const { return remaining_; }

  private:
    int64_t total_ = 0;
    int64_t startMs_ = 0;
    int64_t elapsedMs_ = 0;
    int64_t remaining_ = 0;
};

// Milliseconds of a steady clock, for the ticks of the dialogs.
int64_t NowMs();

}  // namespace keldrin::ui
