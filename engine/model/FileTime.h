// FILETIME values: 100 ns units since 1601-01-01 00:00 UTC.
#pragma once

#include <cstdint>

namespace keldrin {

inline constexpr uint64_t kFileTimeTicksPerSecond = 10000000;
inline constexpr uint64_t kFileTimeTicksPerDay = 86400 * kFileTimeTicksPerSecond;
// From 1601-01-01 to 1970-01-01.
inline constexpr uint64_t kFileTimeUnixEpoch = 116444736000000000ull;

// The current time, in UTC.
uint64_t FileTimeNow();

// A calendar date and time of day, in UTC, to FILETIME. False for a field out of range (years 1601
// to 30827, days of the month as the calendar has them, hours 0-23, minutes and seconds 0-59).
bool CivilToFileTime(int year, int month, int day, int hour, int minute, int second, uint64_t& out);

struct CivilTime {
    int year = 1601;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The calendar fields of a FILETIME value, as it stands (no time-zone change); the fraction of a
// second is dropped.
CivilTime FileTimeToCivil(uint64_t fileTime);

}  // namespace keldrin
