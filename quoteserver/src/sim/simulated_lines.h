// The simulated market's reply lines: each symbol's quote at the instant, written by the
// protocol's one tag table; a symbol the market does not know gets the unknown line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/quote_line.h"

namespace quotes {

struct Instrument;

// Appends one line, without its CR LF.
void AppendSimulatedLine(std::string& out, const std::string& symbol, const TagList& tags,
                         std::int64_t utcSeconds);
// The same for the symbol's instrument, already looked up.
void AppendInstrumentLine(std::string& out, std::string_view symbol, const Instrument& instrument,
                          const TagList& tags, std::int64_t utcSeconds);
// What a line of `tags` usually takes, so that it is written without growing.
std::size_t TypicalLineSize(const TagList& tags);
// The whole reply body for the symbols and tags at the instant.
std::string FormatQuoteReply(const std::vector<std::string>& symbols,
                             const std::vector<std::string>& tags, std::int64_t utcSeconds);
// One line, without its CR LF.
std::string FormatQuoteLine(const std::string& symbol, const std::vector<std::string>& tags,
                            std::int64_t utcSeconds);

}  // namespace quotes
