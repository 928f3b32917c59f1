#include "ui/controller/Format.h"

#include <chrono>
#include <cstdio>
#include <limits>

namespace keldrin::ui {
namespace {

constexpr int64_t kKiB = 1024;
constexpr int64_t kMiB = kKiB * 1024;
constexpr int64_t kGiB = kMiB * 1024;
constexpr int64_t kTiB = kGiB * 1024;

std::string Printf(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string FormatSize(int64_t bytes) {
    const double b = static_cast<double>(bytes);
    if (bytes >= kTiB) return Printf("%.2f TB", b / static_cast<double>(kTiB));
    if (bytes >= kGiB) return Printf("%.2f GB", b / static_cast<double>(kGiB));
    if (bytes < kMiB) return Printf("%.2f KB", (bytes < 0 ? 0.0 : b) / static_cast<double>(kKiB));
    return Printf("%.2f MB", b / static_cast<double>(kMiB));
}

std::string FormatSectors(int64_t count) {
    constexpr int64_t kMaxCount = std::numeric_limits<int64_t>::max() / 512;
    return FormatSize(count > kMaxCount ? std::numeric_limits<int64_t>::max() : count * 512);
}

std::string FormatRunningTotal(int64_t bytes) {
    const double b = static_cast<double>(bytes);
    if (bytes >= kGiB) return Printf("%.2f GB", b / static_cast<double>(kGiB));
    if (bytes >= kMiB) return Printf("%.2f MB", b / static_cast<double>(kMiB));
    if (bytes >= kKiB) return Printf("%.2f KB", b / static_cast<double>(kKiB));
    return std::to_string(bytes) + " Byte";
}

std::string FormatDurationSeconds(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>((seconds % 3600) / 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string FormatDuration(int64_t milliseconds) {
    return FormatDurationSeconds(milliseconds < 0 ? 0 : milliseconds / 1000);
}

void CRemainingTimeEstimator::Start(int64_t total) {
    Start(total, NowMs());
}

void CRemainingTimeEstimator::Start(int64_t total, int64_t nowMs) {
    total_ = total;
    startMs_ = nowMs;
    elapsedMs_ = 0;
    remaining_ = 0;
}

void CRemainingTimeEstimator::Update(int64_t done) {
    Update(done, NowMs());
}

void CRemainingTimeEstimator::Update(int64_t done, int64_t nowMs) {
    if (done <= 0) return;
    elapsedMs_ = nowMs - startMs_;
    const int64_t left = total_ > done ? total_ - done : 0;
    // Tenths of a second keep the product inside 64 bits for any realistic total.
    remaining_ = ((elapsedMs_ / 100) * left / done) * 100;
}

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace keldrin::ui
