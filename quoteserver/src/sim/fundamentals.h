// What a listed company reports besides its price: book value, sales, dividends, estimates.
// Fixed for an instrument, drawn from its own seed, in its currency unit (pounds, not pence).
#pragma once

#include <cstdint>
#include <optional>

#include "common/market_time.h"

namespace quotes {

struct Fundamentals {
    double bookValue = 0;      // per share
    double salesPerShare = 0;  // a year's
    double ebitdaPerShare = 0;
    double epsGrowth = 0;            // expected growth of earnings a year, a fraction
    double shortRatio = 0;           // days of volume the short interest is
    double targetFactor = 1;         // the one-year target over the previous close
    std::optional<double> dividend;  // per share and year; none when it pays none
    int exDividendDay = 0;           // days into each quarter the ex-dividend date falls
};

// `price` is the instrument's typical price in its currency unit; `eps` its earnings.
Fundamentals MakeFundamentals(std::uint64_t seed, double price, std::optional<double> eps);

// The dates of the quarterly dividend last gone ex before or on `today`, and its payment.
struct DividendDates {
    CivilDate exDividend;
    CivilDate payment;
};
DividendDates LastDividendDates(const Fundamentals& f, CivilDate today);

}  // namespace quotes
