#include "cli/TimeText.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>

namespace keldrin::cli {
namespace {

// 100 ns ticks between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000;
constexpr int64_t kTicksPerSecond = 10000000;

}  // namespace

std::string FileTimeToIso(uint64_t fileTime) {
    std::string text;
    AppendFileTimeIso(text, fileTime);
    return text;
}

void AppendFileTimeIso(std::string& out, uint64_t fileTime) {
    if (fileTime == 0) {
        out += '-';
        return;
    }
    using namespace std::chrono;
    // Dates past year 9999 are damage; show the raw value rather than a wrapped date.
    if (fileTime > 2650467743999999999ull) {
        out += '@';
        out += std::to_string(fileTime);
        return;
    }
    const int64_t ticks = static_cast<int64_t>(fileTime) - kUnixEpochTicks;
    int64_t seconds = ticks / kTicksPerSecond;
    int64_t fraction = ticks % kTicksPerSecond;
    if (fraction < 0) {
        fraction += kTicksPerSecond;
        --seconds;
    }
    const sys_days day = floor<days>(sys_seconds{std::chrono::seconds{seconds}});
    const int64_t inDay = seconds - duration_cast<std::chrono::seconds>(day.time_since_epoch()).count();
    // Digits by hand into a local buffer: listings print one of these per file, and snprintf was a
    // tenth of `ls`.
    char text[40];
    size_t used = 0;
    auto put = [&text, &used](int64_t value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            text[used + i] = static_cast<char>('0' + value % 10);
        used += static_cast<size_t>(width);
    };
    auto add = [&text, &used](char c) { text[used++] = c; };
    // The files of a listing share few days: the date of the last one is kept.
    thread_local int64_t cachedDay = INT64_MIN;
    thread_local char cachedDate[12];
    thread_local size_t cachedLength = 0;
    const int64_t dayNumber = day.time_since_epoch().count();
    if (dayNumber != cachedDay) {
        const year_month_day ymd{day};
        const int yearValue = static_cast<int>(ymd.year());
        put(yearValue, yearValue > 9999 ? 5 : 4);
        add('-');
        put(static_cast<unsigned>(ymd.month()), 2);
        add('-');
        put(static_cast<unsigned>(ymd.day()), 2);
        std::copy_n(text, used, cachedDate);
        cachedLength = used;
        cachedDay = dayNumber;
    } else {
        std::copy_n(cachedDate, cachedLength, text);
        used = cachedLength;
    }
    add('T');
    put(inDay / 3600, 2);
    add(':');
    put(inDay / 60 % 60, 2);
    add(':');
    put(inDay % 60, 2);
    if (fraction != 0) {
        add('.');
        put(fraction, 7);
        while (text[used - 1] == '0') --used;
    }
    add('Z');
    out.append(text, used);
}

}  // namespace keldrin::cli
