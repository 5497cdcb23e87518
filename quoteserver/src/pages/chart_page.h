// A symbol's chart page, drawn from any source's figures: the quote's facts, today's path and a
// year of closes, each as Braille dots in <pre> for terminal browsers and as an inline SVG line
// for graphical ones (no script, nothing fetched), and the last five sessions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quotes {

struct PriceBar {
    std::int64_t localSeconds = 0;  // the bar's start in the exchange's own time
    double open = 0, high = 0, low = 0, close = 0;
    double volume = 0;
};

struct ChartFacts {
    std::string symbol, name, exchange, currency;
    int decimals = 2;
    std::optional<double> last, change, changePercent, previousClose;
    std::optional<double> dayLow, dayHigh, yearLow, yearHigh, volume;
    std::string quoteTime;           // the quote's time, in the exchange's zone
    int utcOffsetSeconds = 0;        // the exchange's
    std::vector<PriceBar> intraday;  // today's session (the last one when closed), 5 minutes a bar
    // The session's opening and closing times (local seconds), which today's chart spans;
    // without them it spans the bars.
    std::int64_t sessionOpen = 0, sessionClose = 0;
    std::vector<PriceBar> daily;  // a year of sessions, oldest first
    std::string origin;           // where the figures come from, and when
};

std::string ChartPageHtml(const ChartFacts& facts);

// "GBp (pence)" and the like for a currency quoted in its minor unit; the code for the others.
std::string CurrencyWords(const std::string& currency);

}  // namespace quotes
