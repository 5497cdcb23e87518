// Calendar arithmetic for the simulated market: instants are seconds since 1970-01-01 UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quotes {

struct CivilDate {
    int year;
    int month;  // 1..12
    int day;    // 1..31
};

// Days since 1970-01-01 of a civil date, and back.
std::int64_t DaysFromCivil(CivilDate date);
CivilDate CivilFromDays(std::int64_t days);
// The day (since 1970-01-01) of a count of seconds, before 1970 too.
inline std::int64_t DayOf(std::int64_t seconds) {
    return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
}
// 0 = Sunday .. 6 = Saturday.
int Weekday(std::int64_t days);

// "2026-12-07T15:30:00Z", "2026-12-07T15:30", "2026-12-07" (midnight UTC) or plain epoch
// seconds. Nothing for anything else.
std::optional<std::int64_t> ParseClock(const std::string& text);

}  // namespace quotes
