#include "sim/history.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/number_text.h"
#include "protocol/quote_request.h"
#include "sim/instruments.h"
#include "sim/simulation.h"

namespace quotes {
namespace {

std::optional<int> Number(std::string_view query, std::string_view key) {
    const auto raw = QueryValue(query, key);
    if (!raw) return std::nullopt;
    const std::string text = PercentDecode(*raw);
    if (text.empty() || text.size() > 4) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A day before any the service has: clients ask for "c=1900" to get all there is.
constexpr std::int64_t kBeforeEverything = -1;

// The day the keys name (month zero-based); nothing when one is missing or out of range. A
// year before 1970 is the beginning of time.
std::optional<std::int64_t> Day(std::string_view query, const char* month, const char* day,
                                const char* year) {
    const auto m = Number(query, month), d = Number(query, day), y = Number(query, year);
    if (y && *y < 1970) return kBeforeEverything;
    if (!m || !d || !y || *m > 11 || *d < 1 || *d > 31 || *y > 2200) return std::nullopt;
    return DaysFromCivil({*y, *m + 1, *d});
}

using Interval = HistoryInterval;

Interval IntervalOf(std::string_view query) {
    const auto g = QueryValue(query, "g");
    if (g && *g == "w") return Interval::week;
    if (g && *g == "m") return Interval::month;
    if (g && *g == "v") return Interval::dividends;
    return Interval::day;
}

// Which week (Monday to Sunday) or month a day is in.
std::int64_t PeriodOf(Interval interval, std::int64_t day) {
    if (interval == Interval::week) {
        const std::int64_t sinceMonday = day - 4;  // 1970-01-05 was a Monday
        return sinceMonday >= 0 ? sinceMonday / 7 : (sinceMonday - 6) / 7;
    }
    const CivilDate date = CivilFromDays(day);
    return date.year * 12 + date.month;
}

// A week's or month's bar: its first trading day's date and open, its range, its last close,
// and the average volume of its days.
std::vector<DayBar> Combine(const std::vector<DayBar>& days, Interval interval) {
    if (interval == Interval::day) return days;
    std::vector<DayBar> periods;
    std::uint64_t volumes = 0;
    int count = 0;
    for (std::size_t i = 0; i < days.size(); ++i) {
        const DayBar& d = days[i];
        if (i == 0 || PeriodOf(interval, d.day) != PeriodOf(interval, days[i - 1].day)) {
            periods.push_back(d);
            volumes = 0;
            count = 0;
        }
        DayBar& p = periods.back();
        p.high = std::max(p.high, d.high);
        p.low = std::min(p.low, d.low);
        p.close = d.close;
        volumes += d.volume;
        p.volume = volumes / static_cast<std::uint64_t>(++count);
    }
    return periods;
}

void AppendRow(std::string& out, const DayBar& bar, int decimals) {
    AppendIsoDate(out, CivilFromDays(bar.day));
    for (double price : {bar.open, bar.high, bar.low, bar.close}) {
        out += ',';
        AppendNumber(out, price, decimals);
    }
    out += ',';
    AppendDigits(out, bar.volume);
    out += ',';
    AppendNumber(out, bar.close, decimals);  // no dividends or splits to adjust for
    out += '\n';
}

// One row per quarterly dividend gone ex within [first, last], newest first: a quarter of the
// year's dividend that `d` shows, in the line's unit, with the six decimals of the era.
std::string DividendTable(const Quote& quote, std::int64_t first, std::int64_t last) {
    std::string table = kDividendHeader;
    if (!quote.fundamentals || !quote.fundamentals->dividend) return table;
    const double yearly =
        std::round(*quote.fundamentals->dividend * quote.quoteUnitsPerMoney * 100);
    const double quarter = std::round(yearly * 100 / 4) / 10000;
    // No dividend goes ex after the quote's own trade date.
    std::int64_t day = std::min(last, DaysFromCivil(quote.tradeDate));
    for (;;) {
        const std::int64_t ex =
            DaysFromCivil(LastDividendDates(*quote.fundamentals, CivilFromDays(day)).exDividend);
        if (ex < first) break;
        AppendIsoDate(table, CivilFromDays(ex));
        table += ',';
        AppendNumber(table, quarter, 4);
        table += "00\n";
        day = ex - 1;
    }
    return table;
}

}  // namespace

HistoryRange ReadHistoryRange(std::string_view query, std::int64_t today) {
    HistoryRange range;
    range.lastDay = std::min(Day(query, "d", "e", "f").value_or(today), today);
    range.firstDay = Day(query, "a", "b", "c").value_or(range.lastDay - 365);
    range.firstDay = std::max(range.firstDay, range.lastDay - kHistoryDays);
    range.interval = IntervalOf(query);
    return range;
}

std::optional<std::string> HistoryTable(std::string_view query, std::int64_t utcSeconds) {
    const auto s = QueryValue(query, "s");
    const Instrument* instrument = s ? LookupInstrument(PercentDecode(*s)) : nullptr;
    if (!instrument) return std::nullopt;
    const std::int64_t local = utcSeconds + instrument->market->utcOffsetMinutes * 60;
    const std::int64_t today = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const HistoryRange range = ReadHistoryRange(query, today);
    const std::int64_t first = range.firstDay, last = range.lastDay;
    const Interval interval = range.interval;

    const Quote quote = SimulateQuote(*instrument, utcSeconds);
    if (interval == Interval::dividends) return DividendTable(quote, first, last);
    const int decimals = quote.decimals;
    const std::vector<DayBar> bars =
        Combine(SimulateHistory(*instrument, utcSeconds, first, last), interval);
    std::string table = kHistoryHeader;
    for (auto bar = bars.rbegin(); bar != bars.rend(); ++bar) AppendRow(table, *bar, decimals);
    return table;
}

}  // namespace quotes
