// The forms the tags' values take, for the tag table (quote_tags.cpp): each appends a value
// (a text without its double quotes) and says false when its figures are missing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/quote_values.h"

namespace quotes::tags {

using Figure = std::optional<double>;

// A price with the line's decimals.
bool Price(std::string& out, const QuoteValues& v, Figure value);
// "26.93 - 29.55"
bool Range(std::string& out, const QuoteValues& v, Figure low, Figure high);
// Money, ratios and the like: two decimals.
bool Money(std::string& out, Figure value);
// A signed change with the line's decimals ("+0.50", "-3.47", a bare "0.00").
bool Signed(std::string& out, const QuoteValues& v, Figure value);
bool Percent(std::string& out, Figure value);
// The last price over a figure above 0, two decimals.
bool PriceOver(std::string& out, const QuoteValues& v, Figure denominator);
// How far the last price is from a reference: bare above it and signed below (`Distance`), or
// always signed; and in percent of a reference above 0.
bool Distance(std::string& out, const QuoteValues& v, Figure from);
bool SignedDistance(std::string& out, const QuoteValues& v, Figure from);
bool PercentFrom(std::string& out, const QuoteValues& v, Figure from);
// The change and its percentage, from the last price and the previous close where both are
// there, else the source's own.
Figure Change(const QuoteValues& v);
Figure ChangePercent(const QuoteValues& v);
bool Count(std::string& out, std::optional<std::uint64_t> value);
bool BigMoney(std::string& out, Figure value);
bool ShareCount(std::string& out, Figure value);
bool Date(std::string& out, const std::optional<CivilDate>& date);
bool Time(std::string& out, const std::optional<int>& minute);
// A text as a quoted value may hold it: no double quote, no control character; false when
// empty.
bool Text(std::string& out, std::string_view text);

}  // namespace quotes::tags
