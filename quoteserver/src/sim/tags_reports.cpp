#include <cmath>

#include "common/number_text.h"
#include "sim/fundamentals.h"
#include "sim/tag_writers.h"

namespace quotes::tags {
namespace {

// Companies report in the currency unit (pounds, shekels); a line quoted in the minor unit
// (pence, agorot: its c4 says so) gives every money figure in that unit, prices, earnings,
// dividends, book value and sizes alike, as the historical service did. Its clients divide them
// all by 100 together; ratios are the same in either unit.
double Minor(const TagContext& c, double money) {
    return money * c.quote.quoteUnitsPerMoney;
}

// Earnings as the line shows them, rounded to hundredths: the ratios divide by what a client
// sees.
std::optional<double> ShownEps(const TagContext& c) {
    if (!c.quote.eps) return std::nullopt;
    return std::round(Minor(c, *c.quote.eps) * 100) / 100;
}

std::optional<double> PositiveEps(const TagContext& c, double factor = 1) {
    const auto eps = ShownEps(c);
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

// "6/1/2016", as the trade date is written.
bool Dates(std::string& out, const TagContext& c, bool exDate) {
    const Fundamentals* f = Reports(c);
    if (!f || !f->dividend) return false;
    const DividendDates dates = LastDividendDates(*f, c.quote.tradeDate);
    AppendTradeDate(out, exDate ? dates.exDividend : dates.payment);
    return true;
}

// The next year's and quarter's estimates grow the reported earnings at the expected rate.
double Growth(const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f ? f->epsGrowth : 0.1;
}

}  // namespace

bool EarningsPerShare(std::string& out, const TagContext& c) {
    return Money(out, ShownEps(c));
}

bool PriceEarnings(std::string& out, const TagContext& c) {
    return Ratio(out, c.quote.last, PositiveEps(c));
}

bool MarketCap(std::string& out, const TagContext& c) {
    if (!c.quote.sharesOutstanding) return false;
    AppendBigMoney(out, c.quote.last * *c.quote.sharesOutstanding);
    return true;
}

bool SharesOutstanding(std::string& out, const TagContext& c) {
    if (!c.quote.sharesOutstanding) return false;
    AppendShareCount(out, *c.quote.sharesOutstanding);
    return true;
}

// The shares the public holds: nine in ten, in the form of the shares outstanding.
bool FloatShares(std::string& out, const TagContext& c) {
    if (!c.quote.sharesOutstanding) return false;
    AppendShareCount(out, std::round(*c.quote.sharesOutstanding * 0.9 / 1e4) * 1e4);
    return true;
}

bool Revenue(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    if (!f || !c.quote.sharesOutstanding) return false;
    AppendBigMoney(out, Minor(c, f->salesPerShare) * *c.quote.sharesOutstanding);
    return true;
}

bool Ebitda(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    if (!f || !c.quote.sharesOutstanding) return false;
    AppendBigMoney(out, Minor(c, f->ebitdaPerShare) * *c.quote.sharesOutstanding);
    return true;
}

bool BookValue(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Money(out, Minor(c, f->bookValue));
}

bool PriceSales(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Ratio(out, c.quote.last, Minor(c, f->salesPerShare));
}

bool PriceBook(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && Ratio(out, c.quote.last, std::round(Minor(c, f->bookValue) * 100) / 100);
}

bool Dividend(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    return f && f->dividend && Money(out, Minor(c, *f->dividend));
}

bool DividendYield(std::string& out, const TagContext& c) {
    const Fundamentals* f = Reports(c);
    if (!f || !f->dividend || !(c.quote.last > 0)) return false;
    AppendNumber(out, std::round(Minor(c, *f->dividend) * 100) / 100 / c.quote.last * 100, 2);
    return true;
}

bool ExDividendDate(std::string& out, const TagContext& c) {
    return Dates(out, c, true);
}

bool DividendPayDate(std::string& out, const TagContext& c) {
    return Dates(out, c, false);
}

bool EstimateThisYear(std::string& out, const TagContext& c) {
    return Money(out, PositiveEps(c, 1 + Growth(c) / 2));
}

bool EstimateNextYear(std::string& out, const TagContext& c) {
    return Money(out, PositiveEps(c, 1 + Growth(c) * 1.5));
}

bool EstimateNextQuarter(std::string& out, const TagContext& c) {
    return Money(out, PositiveEps(c, (1 + Growth(c) / 2) / 4));
}

bool PriceEstimateThisYear(std::string& out, const TagContext& c) {
    return Ratio(out, c.quote.last, PositiveEps(c, 1 + Growth(c) / 2));
}

bool PriceEstimateNextYear(std::string& out, const TagContext& c) {
    return Ratio(out, c.quote.last, PositiveEps(c, 1 + Growth(c) * 1.5));
}

// The P/E over the expected growth in percent.
bool PriceEarningsGrowth(std::string& out, const TagContext& c) {
    const auto eps = PositiveEps(c);
    if (!eps || !Reports(c)) return false;
    AppendNumber(out, c.quote.last / *eps / (Growth(c) * 100), 2);
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
