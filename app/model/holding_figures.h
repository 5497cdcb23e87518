// What a holding is worth today, worked out from its row's quote: value, the day's gain and
// the gain since it was bought, all in the currency's major unit (London quotes in pence and
// Tel Aviv in agorot: a hundred of them make the pound or the shekel). Quote values stay text
// in the row; they are read as numbers only here, and a text that is not one ("N/A", "*")
// gives no figure.
#pragma once

#include <cstddef>

#include "model/holdings.h"
#include "model/quote_record.h"

struct QuoteCurrency {
    const char16_t* code;       // "USD", "GBP"; "XXX" for an exchange the table lacks
    double unitsPerMajor;       // 100 where the quote is in the minor unit
    const char16_t* quoteUnit;  // what the quote's prices are in: "pence", "agorot" or `code`
};
QuoteCurrency CurrencyOfExchange(const char16_t* exchangeCode);

// The whole text as a decimal number with an optional sign; false for anything else.
bool ReadQuoteNumber(const char16_t* text, double& value);

struct HoldingFigures {
    bool priced = false;       // the last price is a number: value
    bool changeKnown = false;  // and so is the change: day gain
    bool costKnown = false;    // and a price was paid: gain
    double value = 0;
    double dayGain = 0;
    double gain = 0;
    double cost = 0;
};
HoldingFigures FiguresOf(const Holding& holding, const QuoteRecord& row);

inline constexpr std::size_t kAmountWidth = 32;
// Two decimals with thousands separators ("12,345.67"); `sign` puts "+" before a gain.
void FormatAmount(double amount, bool sign, char16_t (&out)[kAmountWidth]);
// A signed percentage with two decimals: "+1.01%".
void FormatPercent(double percent, char16_t (&out)[kAmountWidth]);

// The totals of every held row in the portfolio (a holding counted once), by currency.
inline constexpr int kTotalCurrencies = 16;
struct CurrencyTotal {
    const char16_t* currency = nullptr;
    double value = 0;
    double dayGain = 0;
    double dayBase = 0;  // what the held shares were worth at the previous close
    double gain = 0;
    double cost = 0;
    bool anyDay = false;
    bool anyGain = false;
};
struct HoldingTotals {
    CurrencyTotal currencies[kTotalCurrencies];
    int currencyCount = 0;
    int heldRows = 0;
    int leftOut = 0;  // held rows without a price to value them by
};
HoldingTotals TotalHoldings();

inline constexpr std::size_t kTotalsLineWidth = 160;
// "USD 12,345.67 · Day +123.45 +1.01% · Gain +2,345.67 +23.45%"; the parts without a figure
// are left out.
void FormatCurrencyTotal(const CurrencyTotal& total, char16_t (&out)[kTotalsLineWidth]);
