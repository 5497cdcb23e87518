// The markets of the simulation: one per exchange suffix the viewer knows, with its time zone
// and trading hours, and how its prices are quoted. Their sessions are sessions.h's.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/market_time.h"

namespace quotes {

struct Market {
    std::string_view suffix;  // "" for the USA's major exchanges
    std::string_view name;
    int utcOffsetMinutes;  // standard time; the simulation keeps no daylight saving
    int openMinute;        // local minutes after midnight
    int closeMinute;
    std::uint8_t tradingDays;   // bit 0 = Sunday .. bit 6 = Saturday
    double priceScale;          // typical share price in the market's quoting unit
    std::string_view currency;  // of its prices: "USD", "CAD"; "GBp" for pence
    std::string_view exchange;  // the service's code of the exchange: "NMS", "TOR", "LSE"
};

inline constexpr std::uint8_t kMondayToFriday = 0b0111110;
inline constexpr std::uint8_t kSundayToThursday = 0b0011111;

// The market of a suffix (without the dot), or null.
const Market* FindMarket(std::string_view suffix);
// Every market, the USA's first.
const Market* Markets(int& count);

// Whether `day` (days since 1970-01-01) is one of the market's trading weekdays; its holidays
// are holidays.h's.
inline bool TradingWeekday(const Market& market, std::int64_t day) {
    return (market.tradingDays >> Weekday(day)) & 1;
}

}  // namespace quotes
