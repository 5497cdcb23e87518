#include "protocol/history_query.h"

#include <algorithm>
#include <optional>
#include <string>

#include "common/market_time.h"
#include "protocol/quote_request.h"

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

HistoryInterval IntervalOf(std::string_view query) {
    const auto g = QueryValue(query, "g");
    if (g && *g == "w") return HistoryInterval::week;
    if (g && *g == "m") return HistoryInterval::month;
    if (g && *g == "v") return HistoryInterval::dividends;
    return HistoryInterval::day;
}

}  // namespace

HistoryRange ReadHistoryRange(std::string_view query, std::int64_t today) {
    HistoryRange range;
    range.interval = IntervalOf(query);
    const auto end = Day(query, "d", "e", "f");
    if (end && *end < 0) {
        // Ends before the service's first day (1970): no row at all, the header alone.
        range.firstDay = 0;
        range.lastDay = -1;
        return range;
    }
    range.lastDay = std::min(end.value_or(today), today);
    range.firstDay = Day(query, "a", "b", "c").value_or(range.lastDay - 365);
    range.firstDay = std::max(range.firstDay, range.lastDay - kHistoryDays);
    return range;
}

}  // namespace quotes
