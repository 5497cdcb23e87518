#include "sim/sessions.h"

#include <bit>

#include "common/market_time.h"
#include "sim/holidays.h"

namespace quotes {
namespace {

bool Trades(const Market& market, std::int64_t day) {
    return TradingWeekday(market, day) && !IsHoliday(market, day);
}

// Trading days before `day`, counted from a Sunday long before any session that matters.
std::int64_t SessionsBefore(const Market& market, std::int64_t day) {
    constexpr std::int64_t kSunday = -4;  // 1969-12-28
    const std::int64_t since = day - kSunday;
    const std::int64_t weeks = since >= 0 ? since / 7 : (since - 6) / 7;
    const int perWeek = std::popcount(market.tradingDays);
    std::int64_t count = weeks * perWeek;
    for (std::int64_t d = kSunday + weeks * 7; d < day; ++d) {
        count += TradingWeekday(market, d) ? 1 : 0;
    }
    return count - HolidaysBefore(market, day);
}

SessionPoint WorkOutSession(const Market& market, std::int64_t utcSeconds) {
    const std::int64_t local = utcSeconds + market.utcOffsetMinutes * 60;
    std::int64_t day = DayOf(local);
    const int minuteOfDay = static_cast<int>((local - day * 86400) / 60);
    const int length = market.closeMinute - market.openMinute;
    if (Trades(market, day) && minuteOfDay >= market.openMinute) {
        const bool open = minuteOfDay < market.closeMinute;
        const int minute = open ? minuteOfDay - market.openMinute : length;
        return {SessionsBefore(market, day), day, minute, length, open};
    }
    // Before the opening bell or on a closed day: the last session's close holds.
    do {
        --day;
    } while (!Trades(market, day));
    return {SessionsBefore(market, day), day, length, length, false};
}

// The last instant each market of the table was located at, on this thread: every quote of a
// request asks for the same instant, most of them on a few markets.
struct LastLocated {
    std::int64_t utcSeconds = 0;
    bool valid = false;
    SessionPoint point{};
};

}  // namespace

SessionPoint LocateSession(const Market& market, std::int64_t utcSeconds) {
    constexpr int kCached = 64;
    thread_local LastLocated last[kCached];
    int count = 0;
    const std::ptrdiff_t index = &market - Markets(count);
    if (index < 0 || index >= count || index >= kCached) return WorkOutSession(market, utcSeconds);
    LastLocated& entry = last[index];
    if (!entry.valid || entry.utcSeconds != utcSeconds) {
        entry.point = WorkOutSession(market, utcSeconds);
        entry.utcSeconds = utcSeconds;
        entry.valid = true;
    }
    return entry.point;
}

std::int64_t SessionDay(const Market& market, std::int64_t session) {
    // Jump by whole weeks while far off (holidays make the first estimate early), then walk.
    const int perWeek = std::popcount(market.tradingDays);
    std::int64_t day = -4 + session / perWeek * 7;
    for (;;) {
        const std::int64_t behind = session - SessionsBefore(market, day);
        if (behind == 0 && Trades(market, day)) return day;
        if (behind > perWeek || behind < -perWeek) {
            day += behind / perWeek * 7;
        } else {
            day += behind >= 0 ? 1 : -1;
        }
    }
}

}  // namespace quotes
