// A normalised reply line: symbol, exchange code and the 16 quote values, comma-separated,
// without double quotes. Applying it updates the row of that symbol and code, or appends one.
#pragma once

#include <cstddef>

inline constexpr std::size_t kQuoteLineWidth = 1024;
using QuoteLine = char16_t[kQuoteLineWidth];

// Set when a line has matched a row that already existed; never cleared while running.
extern bool quoteRowMatched;

// Each value is read up to its own comma: an over-long value is cut to its field and the rest
// skipped; an empty value stores the empty text. The last value, the shares outstanding, is
// the rest of the line without commas and spaces. Lines without a symbol or exchange code
// (a suffix no exchange has) change nothing.
void ApplyQuoteLine(const char16_t* line);
