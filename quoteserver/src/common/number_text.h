// The number and date texts of quote replies, written by hand: printf's float formatting was
// most of the cost of a reply.
#pragma once

#include <string>
#include <string_view>

#include "common/market_time.h"

namespace quotes {

inline constexpr std::string_view kNotAvailable = "N/A";

// The decimal digits of `value`, at least `minDigits` of them.
void AppendDigits(std::string& out, unsigned long long value, int minDigits = 1);
// Fixed-point text with 0 to 4 decimals, rounded half away from zero; N/A for what no quote
// could hold.
void AppendNumber(std::string& out, double value, int decimals);
// A signed change: "+0.50", "-3.47"; unchanged is a bare "0.00", whatever the decimals.
void AppendSigned(std::string& out, double value, int decimals);
// A signed percentage: "+1.53%", "-0.71%", "0.00%".
void AppendPercent(std::string& out, double value);
// A count of shares as bare digits, "4731000000": a separator would split the value into
// several fields for every CSV reader.
void AppendShareCount(std::string& out, double shares);
// Millions and billions with two decimals: "537.69M", "165.77B", "-363.25M"; a thousand
// billions stay billions ("1030.00B"), as no client of the service reads a "T".
void AppendBigMoney(std::string& out, double value);
void AppendQuoted(std::string& out, std::string_view text);
// "12/1/2006", "4:00pm", "2006-12-01".
void AppendTradeDate(std::string& out, const CivilDate& date);
void AppendTradeTime(std::string& out, int minuteOfDay);
void AppendIsoDate(std::string& out, const CivilDate& date);

}  // namespace quotes
