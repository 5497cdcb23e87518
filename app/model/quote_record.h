// One row of the portfolio: a ticker symbol, its exchange code and the latest quote as the
// quote service sent it, all fixed-width UTF-16 text. "*" in a quote field means no value yet.
#pragma once

#include <cstddef>

inline constexpr std::size_t kSymbolWidth = 10;
inline constexpr std::size_t kExchangeCodeWidth = 2;
inline constexpr std::size_t kQuoteValueWidth = 10;  // prices, ratios, time, reserved
inline constexpr std::size_t kTradeDateWidth = 11;
inline constexpr std::size_t kBigNumberWidth = 15;  // volume, market cap, shares outstanding
inline constexpr std::size_t kCompanyNameWidth = 20;

struct QuoteRecord {
    char16_t symbol[kSymbolWidth];
    char16_t exchangeCode[kExchangeCodeWidth];
    char16_t prevClose[kQuoteValueWidth];
    char16_t eps[kQuoteValueWidth];
    char16_t peRatio[kQuoteValueWidth];
    char16_t lastTradeDate[kTradeDateWidth];
    char16_t lastPrice[kQuoteValueWidth];
    char16_t change[kQuoteValueWidth];
    char16_t pctChange[kQuoteValueWidth];
    char16_t volume[kBigNumberWidth];
    char16_t marketCap[kBigNumberWidth];
    char16_t lastTradeTime[kQuoteValueWidth];
    char16_t reserved[kQuoteValueWidth];
    char16_t dayHigh[kQuoteValueWidth];
    char16_t dayLow[kQuoteValueWidth];
    char16_t yearHigh[kQuoteValueWidth];
    char16_t yearLow[kQuoteValueWidth];
    char16_t sharesOut[kBigNumberWidth];
    char16_t companyName[kCompanyNameWidth];
};

// The record's fields in the record's own order, for code that walks them by name.
enum class QuoteField {
    symbol,
    exchangeCode,
    prevClose,
    eps,
    peRatio,
    lastTradeDate,
    lastPrice,
    change,
    pctChange,
    volume,
    marketCap,
    lastTradeTime,
    reserved,
    dayHigh,
    dayLow,
    yearHigh,
    yearLow,
    sharesOut,
    companyName,
};
inline constexpr int kQuoteFieldCount = 19;

struct FieldRef {
    char16_t* text;
    std::size_t width;
};

FieldRef FieldOf(QuoteRecord& record, QuoteField field);
const char16_t* FieldText(const QuoteRecord& record, QuoteField field);

// Sets every field empty.
void ClearRecord(QuoteRecord& record);
// Writes "*" into the 17 quote fields (reserved included).
void SetQuoteFieldsToPlaceholder(QuoteRecord& record);
