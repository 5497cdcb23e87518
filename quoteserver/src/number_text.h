// The number and date texts of quote replies, written by hand: printf's float formatting was
// most of the cost of a reply.
#pragma once

#include <string>
#include <string_view>

#include "market_time.h"

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
// Thousands separators and leading spaces to 15 characters: "  4,736,000,000".
void AppendSharesOutstanding(std::string& out, double shares);
// Millions, billions and trillions: "10.9M", "280.5B", "1.03T".
void AppendBigMoney(std::string& out, double value);
void AppendQuoted(std::string& out, std::string_view text);
// "12/1/2006", "4:00pm", "Nov 14", "2006-12-01".
void AppendTradeDate(std::string& out, const CivilDate& date);
void AppendTradeTime(std::string& out, int minuteOfDay);
void AppendMonthDay(std::string& out, const CivilDate& date);
void AppendIsoDate(std::string& out, const CivilDate& date);

}  // namespace quotes
