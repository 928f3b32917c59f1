#include "cli/TimeText.h"

#include <chrono>

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
    // Digits by hand: listings print one of these per file, and snprintf was a tenth of `ls`.
    std::string text;
    text.reserve(28);
    auto put = [&text](int64_t value, int width) {
        char digits[20];
        for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
        text.append(digits, static_cast<size_t>(width));
    };
    const int yearValue = static_cast<int>(ymd.year());
    put(yearValue, yearValue > 9999 ? 5 : 4);
    text += '-';
    put(static_cast<unsigned>(ymd.month()), 2);
    text += '-';
    put(static_cast<unsigned>(ymd.day()), 2);
    text += 'T';
    put(inDay / 3600, 2);
    text += ':';
    put(inDay / 60 % 60, 2);
    text += ':';
    put(inDay % 60, 2);
    if (fraction != 0) {
        text += '.';
        put(fraction, 7);
        while (text.back() == '0') text.pop_back();
    }
    text += 'Z';
    return text;
}

}  // namespace keldrin::cli
