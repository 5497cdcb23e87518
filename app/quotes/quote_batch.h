// One quote request: the path of a GET that names up to 50 consecutive portfolio rows.
//   /d/quotes.csv?s="MSFT,RY.TO"&d=t&f=sperl1c1p2vj1kjd1t1ghnj2
// The tags ask for 17 values per symbol, in the order the line parser relies on.
#pragma once

#include <cstddef>

#include "model/exchange_table.h"
#include "model/quote_record.h"

inline constexpr int kQuoteBatchRows = 50;
inline constexpr const char16_t* kQuotePathPrefix = u"/d/quotes.csv?s=\"";
inline constexpr const char16_t* kQuotePathTail = u"\"&d=t&f=sperl1c1p2vj1kjd1t1ghnj2";
// A symbol character the request target cannot carry is sent percent-encoded: at most three
// UTF-8 bytes a unit, three characters a byte.
inline constexpr std::size_t kEncodedSymbolLength = (kSymbolWidth - 1) * 9;
inline constexpr std::size_t kQuotePathWidth =
    17 + kQuoteBatchRows * (kEncodedSymbolLength + kRequestSuffixWidth - 1) +
    (kQuoteBatchRows - 1) + 32 + 1;

// Writes the request path of the batch that starts at `startRow` into `path` and returns
// the row at which the next batch starts, or 200 (the portfolio's size) when none remains.
int BuildQuoteBatch(int startRow, char16_t (&path)[kQuotePathWidth]);

// One request: its first row, its path, and where the next one starts.
struct QuoteBatch {
    int startRow = 0;
    char16_t path[kQuotePathWidth] = {};
    int nextStart = 0;
};

inline void BuildQuoteBatch(QuoteBatch& batch) {
    batch.nextStart = BuildQuoteBatch(batch.startRow, batch.path);
}
