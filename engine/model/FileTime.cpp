#include "engine/model/FileTime.h"

#include <chrono>

namespace keldrin {

uint64_t FileTimeNow() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks =
        std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 10000000>>>(since);
    return kFileTimeUnixEpoch + static_cast<uint64_t>(ticks.count());
}

bool CivilToFileTime(int year, int month, int day, int hour, int minute, int second, uint64_t& out) {
    using namespace std::chrono;
    if (year < 1601 || year > 30827) return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return false;
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    const year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok()) return false;
    static constexpr sys_days kOrigin = sys_days{std::chrono::year(1601) / January / 1};
    const int64_t days = (sys_days(date) - kOrigin).count();
    out = static_cast<uint64_t>(days) * kFileTimeTicksPerDay +
          static_cast<uint64_t>(hour * 3600 + minute * 60 + second) * kFileTimeTicksPerSecond;
    return true;
}

CivilTime FileTimeToCivil(uint64_t fileTime) {
    using namespace std::chrono;
    static constexpr sys_days kOrigin = sys_days{std::chrono::year(1601) / January / 1};
    const uint64_t seconds = fileTime / kFileTimeTicksPerSecond;
    const sys_days date = kOrigin + days{static_cast<int64_t>(seconds / 86400)};
    const year_month_day ymd{date};
    const int inDay = static_cast<int>(seconds % 86400);
    CivilTime civil;
    civil.year = static_cast<int>(ymd.year());
    civil.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    civil.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    civil.hour = inDay / 3600;
    civil.minute = inDay / 60 % 60;
    civil.second = inDay % 60;
    return civil;
}

}  // namespace keldrin
