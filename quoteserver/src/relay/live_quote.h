// A quote as a live source reports it, in the fields the protocol's tags are made from. Every
// figure is optional: a source fills what it has, and a tag without its figure answers N/A.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quotes {

struct LiveQuote {
    std::string name;
    std::string currency;  // of the prices, as the source names it: "USD", "GBp", "ILA"
    std::string exchange;  // the source's code: "NMS", "LSE"
    int decimals = 2;
    std::optional<double> last, previousClose, open, dayHigh, dayLow, yearHigh, yearLow;
    std::optional<double> change, changePercent;  // the source's own, when it gives them
    std::optional<double> bid, ask;
    std::optional<double> average50, average200;
    // Reported figures in the currency's major unit (pounds for a GBp line).
    std::optional<double> eps, epsThisYear, epsNextYear, bookValue, dividend, marketCap;
    std::optional<double> priceEarnings, dividendYield;  // yield in percent
    std::optional<double> sharesOutstanding;
    std::optional<std::uint64_t> volume, averageVolume;
    std::optional<std::int64_t> tradeTime;     // epoch seconds of the regular market's last trade
    int utcOffsetSeconds = 0;                  // the exchange's offset at that time
    std::optional<std::int64_t> dividendDate;  // epoch seconds of the next or last payment
    std::optional<std::int64_t> exDividendDate;

    // 100 for prices in a minor unit: pence, agorot, South African cents.
    double MinorPerMajor() const {
        return currency == "GBp" || currency == "GBX" || currency == "ILA" || currency == "ZAc"
                   ? 100
                   : 1;
    }
};

}  // namespace quotes
