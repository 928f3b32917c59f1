#include "ui/dialogs/ProgressScale.h"

#include <algorithm>

namespace keldrin::ui {
namespace {

constexpr int64_t kMiB = 1048576;
constexpr int64_t kGiB = 1073741824;
constexpr int64_t kIntMax = 2147483647;

int64_t Divisor(int64_t total) {
    int64_t divisor = total >= kGiB ? kMiB : 1;
    while (total / divisor > kIntMax) divisor *= 1024;
    return divisor;
}

}  // namespace

int BarRange(int64_t total) {
    if (total <= 0) return 1;
    return static_cast<int>(total / Divisor(total));
}

int BarValue(int64_t done, int64_t total) {
    if (total <= 0) return done > 0 ? 1 : 0;
    const int64_t value = std::clamp<int64_t>(done, 0, total) / Divisor(total);
    return static_cast<int>(value);
}

}  // namespace keldrin::ui
