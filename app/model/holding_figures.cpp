#include "model/holding_figures.h"

#include <charconv>
#include <cmath>

#include "model/fixed_text.h"
#include "model/portfolio.h"

namespace {

struct ExchangeCurrency {
    const char16_t* codes;  // the exchange codes that quote in it
    QuoteCurrency currency;
};

// By the exchange codes of the exchange table.
const ExchangeCurrency kCurrencies[] = {
    {u"U1234567", {u"USD", 1, u"USD"}}, {u"TV", {u"CAD", 1, u"CAD"}},
    {u"8", {u"ARS", 1, u"ARS"}},        {u"A", {u"AUD", 1, u"AUD"}},
    {u"a", {u"BRL", 1, u"BRL"}},        {u"bc", {u"CNY", 1, u"CNY"}},
    {u"d", {u"DKK", 1, u"DKK"}},        {u"9FefDghijklIuyzHKS", {u"EUR", 1, u"EUR"}},
    {u"m", {u"HKD", 1, u"HKD"}},        {u"no", {u"INR", 1, u"INR"}},
    {u"p", {u"IDR", 1, u"IDR"}},        {u"q", {u"ILS", 100, u"agorot"}},
    {u"rs", {u"KRW", 1, u"KRW"}},       {u"t", {u"MXN", 1, u"MXN"}},
    {u"v", {u"NZD", 1, u"NZD"}},        {u"w", {u"NOK", 1, u"NOK"}},
    {u"x", {u"SGD", 1, u"SGD"}},        {u"W", {u"SEK", 1, u"SEK"}},
    {u"Z", {u"CHF", 1, u"CHF"}},        {u"XY", {u"TWD", 1, u"TWD"}},
    {u"G", {u"GBP", 100, u"pence"}},
};
constexpr QuoteCurrency kUnknownCurrency = {u"XXX", 1, u"XXX"};

// Only the big figures the file and the screen can hold are read: beyond them a price is no
// price (it would print as a row of digits the cells cut).
constexpr double kLargestFigure = 1e15;

// `amount` with two decimals into `digits`; false when it is not a number to show.
bool FixedTwo(double amount, char (&digits)[kAmountWidth], std::size_t& n) {
    if (!std::isfinite(amount) || std::fabs(amount) >= kLargestFigure) return false;
    const auto [end, error] = std::to_chars(digits, digits + kAmountWidth - 1, std::fabs(amount),
                                            std::chars_format::fixed, 2);
    if (error != std::errc()) return false;
    n = static_cast<std::size_t>(end - digits);
    return true;
}

bool RoundsToZero(double amount) {
    return std::fabs(amount) < 0.005;
}

void AddPart(char16_t (&out)[kTotalsLineWidth], const char16_t* label, double amount, bool anyBase,
             double base) {
    char16_t number[kAmountWidth];
    AddText(out, label);
    FormatAmount(amount, true, number);
    AddText(out, number);
    if (anyBase && base > 0) {
        FormatPercent(amount / base * 100, number);
        AddText(out, u" ");
        AddText(out, number);
    }
}

CurrencyTotal* TotalFor(HoldingTotals& totals, const char16_t* currency) {
    for (int i = 0; i < totals.currencyCount; ++i) {
        if (TextEquals(totals.currencies[i].currency, currency)) return &totals.currencies[i];
    }
    if (totals.currencyCount >= kTotalCurrencies) return nullptr;
    CurrencyTotal& total = totals.currencies[totals.currencyCount++];
    total.currency = currency;
    return &total;
}

void AddFigures(CurrencyTotal& total, const HoldingFigures& f) {
    total.value += f.value;
    if (f.changeKnown) {
        total.anyDay = true;
        total.dayGain += f.dayGain;
        total.dayBase += f.value - f.dayGain;
    }
    if (f.costKnown) {
        total.anyGain = true;
        total.gain += f.gain;
        total.cost += f.cost;
    }
}

}  // namespace

QuoteCurrency CurrencyOfExchange(const char16_t* exchangeCode) {
    if (!exchangeCode || exchangeCode[0] == 0 || exchangeCode[1] != 0) return kUnknownCurrency;
    for (const ExchangeCurrency& entry : kCurrencies) {
        if (FindChar(entry.codes, exchangeCode[0])) return entry.currency;
    }
    return kUnknownCurrency;
}

bool ReadQuoteNumber(const char16_t* text, double& value) {
    char bytes[kAmountWidth];
    std::size_t n = 0;
    bool digits = false;
    for (std::size_t i = 0; text[i] != 0; ++i) {
        const char16_t c = text[i];
        const bool sign = (c == u'+' || c == u'-') && i == 0;
        if (!(sign || c == u'.' || (c >= u'0' && c <= u'9')) || n + 1 >= sizeof bytes) return false;
        digits = digits || (c >= u'0' && c <= u'9');
        bytes[n++] = static_cast<char>(c);
    }
    if (!digits) return false;
    const char* begin = bytes[0] == '+' ? bytes + 1 : bytes;
    const auto [end, error] = std::from_chars(begin, bytes + n, value);
    return error == std::errc() && end == bytes + n && std::fabs(value) < kLargestFigure;
}

HoldingFigures FiguresOf(const Holding& holding, const QuoteRecord& row) {
    HoldingFigures f;
    double shares = 0;
    double last = 0;
    if (!ReadQuoteNumber(holding.shares, shares) || !ReadQuoteNumber(row.lastPrice, last)) return f;
    const double perMajor = CurrencyOfExchange(row.exchangeCode).unitsPerMajor;
    f.priced = true;
    f.value = shares * last / perMajor;
    double change = 0;
    if (ReadQuoteNumber(row.change, change)) {
        f.changeKnown = true;
        f.dayGain = shares * change / perMajor;
    }
    double paid = 0;
    if (ReadQuoteNumber(holding.pricePaid, paid)) {
        f.costKnown = true;
        f.cost = shares * paid / perMajor;
        f.gain = shares * (last - paid) / perMajor;
    }
    return f;
}

void FormatAmount(double amount, bool sign, char16_t (&out)[kAmountWidth]) {
    char digits[kAmountWidth];
    std::size_t n = 0;
    if (!FixedTwo(amount, digits, n)) {
        SetText(out, u"N/A");
        return;
    }
    std::size_t at = 0;
    const bool zero = RoundsToZero(amount);
    if (!zero && amount < 0) out[at++] = u'-';
    if (!zero && amount > 0 && sign) out[at++] = u'+';
    const std::size_t whole = n - 3;  // the digits before ".dd"
    for (std::size_t i = 0; i < n && at + 1 < kAmountWidth; ++i) {
        if (i > 0 && i < whole && (whole - i) % 3 == 0) out[at++] = u',';
        out[at++] = static_cast<char16_t>(digits[i]);
    }
    out[at] = 0;
}

void FormatPercent(double percent, char16_t (&out)[kAmountWidth]) {
    FormatAmount(percent, true, out);
    AddText(out, u"%");
}

HoldingTotals TotalHoldings() {
    HoldingTotals totals;
    for (int row = 0; RowInUse(row); ++row) {
        const QuoteRecord& record = Portfolio[row];
        const Holding* holding = FindHolding(record.symbol, record.exchangeCode);
        // A row listed twice holds its shares once.
        if (!holding || FindQuoteRow(record.symbol, record.exchangeCode) != row) continue;
        ++totals.heldRows;
        const HoldingFigures f = FiguresOf(*holding, record);
        CurrencyTotal* total =
            f.priced ? TotalFor(totals, CurrencyOfExchange(record.exchangeCode).code) : nullptr;
        if (!total) {
            ++totals.leftOut;
            continue;
        }
        AddFigures(*total, f);
    }
    return totals;
}

void FormatCurrencyTotal(const CurrencyTotal& total, char16_t (&out)[kTotalsLineWidth]) {
    char16_t number[kAmountWidth];
    SetText(out, total.currency);
    AddText(out, u" ");
    FormatAmount(total.value, false, number);
    AddText(out, number);
    if (total.anyDay) AddPart(out, u" \u00B7 Day ", total.dayGain, true, total.dayBase);
    if (total.anyGain) AddPart(out, u" \u00B7 Gain ", total.gain, true, total.cost);
}
