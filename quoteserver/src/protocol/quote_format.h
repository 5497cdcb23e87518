// Reply lines of the CSV quote protocol: one line per symbol, the values in the order of the
// tags, text in double quotes, numbers bare, N/A where there is no value, CR LF at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quotes {

inline constexpr const char* kMissingSymbolsBody = "Missing Symbols List.";
inline constexpr const char* kMissingFormatBody = "Missing Format Variable.";

// The whole reply body for the symbols and tags at the instant.
std::string FormatQuoteReply(const std::vector<std::string>& symbols,
                             const std::vector<std::string>& tags, std::int64_t utcSeconds);
// One line, without its CR LF; unknown symbols get the historical N/A line.
std::string FormatQuoteLine(const std::string& symbol, const std::vector<std::string>& tags,
                            std::int64_t utcSeconds);
// The line of a symbol no source knows: the echo, 0.00, the error text, N/A.
std::string FormatUnknownLine(const std::string& symbol, const std::vector<std::string>& tags);
// What a reply may echo of a requested symbol (see quote_format.cpp).
std::string SafeEcho(const std::string& symbol);

}  // namespace quotes
