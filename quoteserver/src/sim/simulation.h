// The simulated market: a deterministic random walk per symbol, so the same instant always
// gives the same quote. Prices move only while the instrument's market trades; outside its
// session a quote holds its last trade.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/market_time.h"
#include "sim/fundamentals.h"
#include "sim/instruments.h"

namespace quotes {

struct Quote {
    double last = 0;
    double prevClose = 0;
    std::optional<double> open;  // none before the session's first trade
    double dayHigh = 0;
    double dayLow = 0;
    double yearHigh = 0;
    double yearLow = 0;
    double movingAverage50 = 0;   // of the closes of the last 50 sessions, today's price last
    double movingAverage200 = 0;  // and of the last 200
    std::optional<std::uint64_t> volume;         // none for indices and currencies
    std::optional<std::uint64_t> averageVolume;  // a session's, over the year
    std::optional<std::uint64_t> bidSize;        // the lots at the best bid and ask, and of
    std::optional<std::uint64_t> askSize;        // the last trade: stocks only
    std::optional<std::uint64_t> lastTradeSize;
    std::optional<double> eps;                 // none where no earnings are reported
    std::optional<double> sharesOutstanding;   // none for indices, currencies, contracts
    double quoteUnitsPerMoney = 1;             // 100 where prices are in pence or agorot
    std::optional<Fundamentals> fundamentals;  // listed companies only
    bool traded = true;                        // false: no trade yet in this session
    bool marketOpen = false;
    std::int64_t session = 0;  // the trading-day number of the quote's session
    CivilDate tradeDate{1970, 1, 1};
    int tradeMinute = 0;  // local minutes after midnight
    int decimals = 2;
};

Quote SimulateQuote(const Instrument& instrument, std::int64_t utcSeconds);

// One session's trading, as a price history lists it.
struct DayBar {
    std::int64_t day = 0;  // the session's local day
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    std::uint64_t volume = 0;
};
// The bars of the sessions whose days fall within [firstDay, lastDay], oldest first, up to the
// session of `utcSeconds`: that one's bar is the day so far and agrees with its quote. Prices
// are rounded as the quote rounds them.
std::vector<DayBar> SimulateHistory(const Instrument& instrument, std::int64_t utcSeconds,
                                    std::int64_t firstDay, std::int64_t lastDay);

// The close of each of the `count` sessions up to and including the one at `utcSeconds`
// (the last being the current price while the market trades), oldest first.
void SimulateCloses(const Instrument& instrument, std::int64_t utcSeconds, double* closes,
                    int count);
// The price at `samples` evenly spaced minutes of the session at `utcSeconds`, up to now.
int SimulateSessionPath(const Instrument& instrument, std::int64_t utcSeconds, double* prices,
                        int samples);

}  // namespace quotes
