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

using Interval = HistoryInterval;

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

std::optional<std::string> HistoryTable(std::string_view query, std::int64_t utcSeconds) {
    const auto s = QueryValue(query, "s");
    const Instrument* instrument = s ? LookupInstrument(PercentDecode(*s)) : nullptr;
    if (!instrument) return std::nullopt;
    const std::int64_t local = utcSeconds + instrument->market->utcOffsetMinutes * 60;
    const std::int64_t today = DayOf(local);
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
