// Reply lines of the CSV quote protocol, for every source: one line per symbol, the values in
// the order of the tags, text in double quotes, numbers bare, N/A where there is no value. The
// reply puts CR LF after each line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "protocol/quote_tags.h"
#include "protocol/quote_values.h"

namespace quotes {

inline constexpr const char* kMissingSymbolsBody = "Missing Symbols List.";
inline constexpr const char* kMissingFormatBody = "Missing Format Variable.";

// A request's tags, looked up once: null for a tag the protocol never had.
using TagList = std::vector<const TagInfo*>;
TagList ResolveTags(const std::vector<std::string>& names);

// Appends the line of a quote, without its line end.
void AppendQuoteLine(std::string& out, std::string_view symbol, const QuoteValues& values,
                     const TagList& tags);
std::string QuoteLine(std::string_view symbol, const QuoteValues& values,
                      const std::vector<std::string>& tags);
// The line of a symbol no source knows: the echo, 0.00, the error text, N/A.
void AppendUnknownLine(std::string& out, const std::string& symbol, const TagList& tags);
// What a reply may echo of a requested symbol (see quote_line.cpp).
std::string SafeEcho(const std::string& symbol);

}  // namespace quotes
