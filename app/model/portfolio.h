// The portfolio: a fixed, process-wide table of 200 quote rows. The rows in use (those with
// a symbol) always form a prefix; every row after the end has all its fields empty. A row
// is identified by its symbol and exchange code, compared exactly.
#pragma once

#include "model/quote_record.h"

inline constexpr int kPortfolioRows = 200;
inline constexpr int kNoRow = -1;

extern QuoteRecord Portfolio[kPortfolioRows];

bool RowInUse(int row);
// The number of rows in use.
int PortfolioRowCount();

// The first row in use holding `symbol` on `code`, or kNoRow.
int FindQuoteRow(const char16_t* symbol, const char16_t* code);
// Appends a row with "*" in every quote field; kNoRow when all 200 rows are in use.
int AppendQuoteRow(const char16_t* symbol, const char16_t* code);
// Removes a row in use and moves the rows after it up; anything else changes nothing.
void DeleteQuoteRow(int row);
// Empties every field of every row.
void ClearPortfolio();
