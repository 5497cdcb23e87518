// A quote as every source hands it to the protocol: the figures the tags are made from, each
// there or not. The simulated market and the live sources fill the same fields, and one table
// (quote_tags.h) writes every tag from them, so a client cannot tell the sources apart. A tag
// whose figure is missing answers N/A in its form.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/market_time.h"

namespace quotes {

struct QuoteValues {
    // Views of what the source holds, alive while the line is written.
    std::string_view name;
    std::string_view currency;  // of the prices: "USD", "GBp" (pence), "ILA" (agorot)
    std::string_view exchange;  // "NMS", "LSE"
    int decimals = 2;           // of the prices

    // Prices, in the line's unit.
    std::optional<double> last, previousClose, open, dayHigh, dayLow, yearHigh, yearLow;
    std::optional<double> bid, ask, average50, average200, yearTarget;
    // The source's own change, and its percentage: used only where the last price or the
    // previous close is missing (the percentage also where that close is not above 0).
    std::optional<double> change, changePercent;
    std::optional<std::uint64_t> volume, averageVolume, bidSize, askSize, lastTradeSize;

    // What the company reports, in the line's unit too: pence on a GBp line, as the clients of
    // the CSV era divide every money figure of such a line by 100 together.
    std::optional<double> eps, epsThisYear, epsNextYear, epsNextQuarter;
    std::optional<double> bookValue, salesPerShare, dividend;
    std::optional<double> marketCap;  // else the last price times the shares outstanding
    std::optional<double> sharesOutstanding, floatShares, revenue, ebitda;
    std::optional<double> priceEarnings;  // the source's own; else the last price over eps
    std::optional<double> priceEarningsGrowth, dividendYield, shortRatio;  // yield in percent

    // The exchange's date and minute of the last trade; the dividend's calendar dates.
    std::optional<CivilDate> tradeDate;
    std::optional<int> tradeMinute;  // local minutes after midnight
    std::optional<CivilDate> exDividendDate, dividendPayDate;
};

}  // namespace quotes
