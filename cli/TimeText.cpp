#include "cli/TimeText.h"

#include <chrono>
#include <cstdio>

namespace keldrin::cli {
namespace {

// 100 ns ticks between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000;
constexpr int64_t kTicksPerSecond = 10000000;

}  // namespace

std::string FileTimeToIso(uint64_t fileTime) {
    if (fileTime == 0) return "-";
    using namespace std::chrono;
    // Dates past year 9999 are damage; show the raw value rather than a wrapped date.
    if (fileTime > 2650467743999999999ull) return "@" + std::to_string(fileTime);
    const int64_t ticks = static_cast<int64_t>(fileTime) - kUnixEpochTicks;
    int64_t seconds = ticks / kTicksPerSecond;
    int64_t fraction = ticks % kTicksPerSecond;
    if (fraction < 0) {
        fraction += kTicksPerSecond;
        --seconds;
    }
    const sys_days day = floor<days>(sys_seconds{std::chrono::seconds{seconds}});
    const year_month_day ymd{day};
    const int64_t inDay = seconds - duration_cast<std::chrono::seconds>(day.time_since_epoch()).count();
    char text[48];
    int n = std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(ymd.year()),
                          static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                          static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60),
                          static_cast<int>(inDay % 60));
    if (fraction != 0) {
        n += std::snprintf(text + n, sizeof text - n, ".%07lld", static_cast<long long>(fraction));
        while (text[n - 1] == '0') text[--n] = '\0';
    }
    std::snprintf(text + n, sizeof text - n, "Z");
    return text;
}

}  // namespace keldrin::cli
