// The trading sessions of a simulated market: its trading weekdays less its holidays, counted
// from long before any session that matters.
#pragma once

#include <cstdint>

#include "sim/markets.h"

namespace quotes {

// Where an instant falls for a market: the trading session that set its last price and the
// minute of that session (its length when the session has ended).
struct SessionPoint {
    std::int64_t session;     // trading-day number; consecutive for consecutive trading days
    std::int64_t sessionDay;  // that session's local day (days since 1970-01-01)
    int minute;               // 0 .. session length
    int length;               // session length in minutes
    bool open;                // the market is trading at this instant
};

SessionPoint LocateSession(const Market& market, std::int64_t utcSeconds);
// The local day of a trading-day number.
std::int64_t SessionDay(const Market& market, std::int64_t session);

}  // namespace quotes
