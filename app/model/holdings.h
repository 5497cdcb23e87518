// What the user holds of a row: how many shares, and the price paid for one (in the quote's
// own unit, pence on London). Kept in a table of its own, beside the portfolio and never in
// it: the data file and its records stay as every earlier version wrote them.
//
// The table mirrors the holdings file line by line. A line that does not read as a holding
// is kept as it was read and written back untouched; a holding whose row is not in the
// portfolio stays too (the row may come back).
#pragma once

#include <cstddef>

#include "model/quote_record.h"

inline constexpr int kHoldingCapacity = 400;            // lines of the file, kept ones included
inline constexpr std::size_t kHoldingNumberWidth = 21;  // 20 characters as typed
inline constexpr std::size_t kKeptLineWidth = 256;      // bytes of a kept line

struct Holding {
    char16_t symbol[kSymbolWidth];
    char16_t exchangeCode[kExchangeCodeWidth];
    char16_t shares[kHoldingNumberWidth];
    char16_t pricePaid[kHoldingNumberWidth];  // empty: not given, so no total gain
    // A line that did not read as a holding: its bytes, without the line end.
    bool kept;
    std::size_t keptLength;
    char keptLine[kKeptLineWidth];
};

extern Holding Holdings[kHoldingCapacity];
extern int holdingCount;

// The holding of `symbol` on `code` (kept lines never match), or null.
const Holding* FindHolding(const char16_t* symbol, const char16_t* code);
// Adds or changes the holding; false when the table is full.
bool SetHolding(const char16_t* symbol, const char16_t* code, const char16_t* shares,
                const char16_t* pricePaid);
void RemoveHolding(const char16_t* symbol, const char16_t* code);
void ClearHoldings();
// Whether some row of the portfolio has a holding.
bool AnyRowHeld();

// The texts the holding dialog and the file take. Shares: digits with at most one point and
// 6 decimals, above 0. Price paid: digits with at most one point, 0 or more, or empty.
bool IsValidShares(const char16_t* text);
bool IsValidPricePaid(const char16_t* text);
