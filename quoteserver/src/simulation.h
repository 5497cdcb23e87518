// The simulated market: a deterministic random walk per symbol, so the same instant always
// gives the same quote. Prices move only while the instrument's market trades; outside its
// session a quote holds its last trade.
#pragma once

#include <cstdint>
#include <optional>

#include "instruments.h"
#include "market_time.h"

namespace quotes {

struct Quote {
    double last = 0;
    double prevClose = 0;
    double dayHigh = 0;
    double dayLow = 0;
    double yearHigh = 0;
    double yearLow = 0;
    std::optional<std::uint64_t> volume;      // none for indices and currencies
    std::optional<double> eps;                // none where no earnings are reported
    std::optional<double> sharesOutstanding;  // none for indices, currencies, contracts
    double quoteUnitsPerMoney = 1;            // 100 where prices are in pence or agorot
    bool traded = true;                       // false: no trade yet in this session
    bool marketOpen = false;
    CivilDate tradeDate{1970, 1, 1};
    int tradeMinute = 0;  // local minutes after midnight
    int decimals = 2;
};

Quote SimulateQuote(const Instrument& instrument, std::int64_t utcSeconds);

// The close of each of the `count` sessions up to and including the one at `utcSeconds`
// (the last being the current price while the market trades), oldest first.
void SimulateCloses(const Instrument& instrument, std::int64_t utcSeconds, double* closes,
                    int count);
// The price at `samples` evenly spaced minutes of the session at `utcSeconds`, up to now.
int SimulateSessionPath(const Instrument& instrument, std::int64_t utcSeconds, double* prices,
                        int samples);

}  // namespace quotes
