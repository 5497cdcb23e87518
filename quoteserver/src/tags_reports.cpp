#include <cmath>

#include "fundamentals.h"
#include "number_text.h"
#include "tag_writers.h"

namespace quotes::tags {
namespace {

// Reported figures are in the currency unit, prices in the quoting unit (pence in London):
// ratios take the price in the currency unit.
double PriceInMoney(const Quote& q) {
    return q.last / q.quoteUnitsPerMoney;
}

// Earnings as the line shows them, rounded to cents: the ratios divide by what a client sees.
std::optional<double> ShownEps(const Quote& q) {
    if (!q.eps) return std::nullopt;
    return std::round(*q.eps * 100) / 100;
}

std::optional<double> PositiveEps(const Quote& q, double factor = 1) {
    const auto eps = ShownEps(q);
    if (!eps || *eps <= 0) return std::nullopt;
    return std::round(*eps * factor * 100) / 100;
}

bool Money(std::string& out, std::optional<double> value) {
    if (!value) return false;
    AppendNumber(out, *value, 2);
    return true;
}

bool Ratio(std::string& out, double numerator, std::optional<double> denominator) {
    if (!denominator || !(*denominator > 0)) return false;
    AppendNumber(out, numerator / *denominator, 2);
    return true;
}

const Fundamentals* Reports(const TagContext& c) {
    return c.quote.fundamentals ? &*c.quote.fundamentals : nullptr;
}

bool Dates(std::string& out, const TagContext& c, bool exDate) {
    const Fundamentals* f = Reports(c);
    if (!f || !f->dividend) return false;
    const DividendDates dates = LastDividendDates(*f, c.quote.tradeDate);
    AppendMonthDay(out, exDate ? dates.exDividend : dates.payment);
    return true;
}

// The next year's and quarter's estimates grow the reported earnings at the expected rate.
double Growth(const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f ? f->epsGrowth : 0.1;
}

}  // namespace

bool EarningsPerShare(std::string& out, const TagContext& c) {
    return Money(out, ShownEps(c.quote));
}

bool PriceEarnings(std::string& out, const TagContext& c) {
    return Ratio(out, PriceInMoney(c.quote), PositiveEps(c.quote));
}

bool MarketCap(std::string& out, const TagContext& c) {
    if (!c.quote.sharesOutstanding) return false;
    AppendBigMoney(out, PriceInMoney(c.quote) * *c.quote.sharesOutstanding);
    return true;
}

bool SharesOutstanding(std::string& out, const TagContext& c) {
    if (!c.quote.sharesOutstanding) return false;
    AppendSharesOutstanding(out, *c.quote.sharesOutstanding);
    return true;
}

// The shares the public holds: nine in ten, in the form of the shares outstanding.
bool FloatShares(std::string& out, const TagContext& c) {
    if (!c.quote.sharesOutstanding) return false;
    AppendSharesOutstanding(out, std::round(*c.quote.sharesOutstanding * 0.9 / 1e4) * 1e4);
    return true;
}

bool Revenue(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    if (!f || !c.quote.sharesOutstanding) return false;
    AppendBigMoney(out, f->salesPerShare * *c.quote.sharesOutstanding);
    return true;
}

bool Ebitda(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    if (!f || !c.quote.sharesOutstanding) return false;
    AppendBigMoney(out, f->ebitdaPerShare * *c.quote.sharesOutstanding);
    return true;
}

bool BookValue(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Money(out, f->bookValue);
}

bool PriceSales(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Ratio(out, PriceInMoney(c.quote), f->salesPerShare);
}

bool PriceBook(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Ratio(out, PriceInMoney(c.quote), std::round(f->bookValue * 100) / 100);
}

bool Dividend(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Money(out, f->dividend);
}

bool DividendYield(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    if (!f || !f->dividend || !(c.quote.last > 0)) return false;
    AppendNumber(out, std::round(*f->dividend * 100) / 100 / PriceInMoney(c.quote) * 100, 2);
    return true;
}

bool ExDividendDate(std::string& out, const TagContext& c) {
    return Dates(out, c, true);
}

bool DividendPayDate(std::string& out, const TagContext& c) {
    return Dates(out, c, false);
}

bool EstimateThisYear(std::string& out, const TagContext& c) {
    return Money(out, PositiveEps(c.quote, 1 + Growth(c) / 2));
}

bool EstimateNextYear(std::string& out, const TagContext& c) {
    return Money(out, PositiveEps(c.quote, 1 + Growth(c) * 1.5));
}

bool EstimateNextQuarter(std::string& out, const TagContext& c) {
    return Money(out, PositiveEps(c.quote, (1 + Growth(c) / 2) / 4));
}

bool PriceEstimateThisYear(std::string& out, const TagContext& c) {
    return Ratio(out, PriceInMoney(c.quote), PositiveEps(c.quote, 1 + Growth(c) / 2));
}

bool PriceEstimateNextYear(std::string& out, const TagContext& c) {
    return Ratio(out, PriceInMoney(c.quote), PositiveEps(c.quote, 1 + Growth(c) * 1.5));
}

// The P/E over the expected growth in percent.
bool PriceEarningsGrowth(std::string& out, const TagContext& c) {
    const auto eps = PositiveEps(c.quote);
    if (!eps || !Reports(c)) return false;
    AppendNumber(out, PriceInMoney(c.quote) / *eps / (Growth(c) * 100), 2);
    return true;
}

bool ShortRatio(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Money(out, f->shortRatio);
}

bool YearTarget(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    if (!f) return false;
    AppendNumber(out, c.quote.prevClose * f->targetFactor, c.quote.decimals);
    return true;
}

}  // namespace quotes::tags
