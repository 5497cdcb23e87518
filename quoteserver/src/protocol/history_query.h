// What a history query (table.csv) asks for, as every source reads it:
//   /table.csv?s=MSFT&a=0&b=1&c=2026&d=11&e=7&f=2026&g=d&ignore=.csv
// a, b, c: the first day's month (zero-based), day and year; d, e, f: the last day's; g: d, w or
// m for a row a trading day, week or month, v for the dividends.
#pragma once

#include <cstdint>
#include <string_view>

namespace quotes {

inline constexpr const char* kHistoryPath = "/table.csv";
inline constexpr const char* kHistoryHeader = "Date,Open,High,Low,Close,Volume,Adj Close\n";
inline constexpr const char* kDividendHeader = "Date,Dividends\n";
// The longest history one request gets, in days before its last day.
inline constexpr int kHistoryDays = 5 * 366;

// What a history query asks for: its days (local days since 1970-01-01) and the row kind.
enum class HistoryInterval { day, week, month, dividends };
struct HistoryRange {
    std::int64_t firstDay = 0;
    std::int64_t lastDay = 0;
    HistoryInterval interval = HistoryInterval::day;
};
// The range of a query on the day `today`: a missing last day is today, a missing first day a
// year before the last, a first year before 1970 the earliest there is; never more than
// kHistoryDays, never after today. A last year before 1970 is an empty range (last < first).
HistoryRange ReadHistoryRange(std::string_view query, std::int64_t today);

}  // namespace quotes
