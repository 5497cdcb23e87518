#include "quotes/quote_line.h"

#include "model/fixed_text.h"
#include "model/portfolio.h"

bool quoteRowMatched = false;

namespace {

// The values between the exchange code and the shares outstanding, in line order.
constexpr QuoteField kLineOrder[] = {
    QuoteField::prevClose, QuoteField::eps,           QuoteField::peRatio,
    QuoteField::lastPrice, QuoteField::change,        QuoteField::pctChange,
    QuoteField::volume,    QuoteField::marketCap,     QuoteField::yearHigh,
    QuoteField::yearLow,   QuoteField::lastTradeDate, QuoteField::lastTradeTime,
    QuoteField::dayLow,    QuoteField::dayHigh,       QuoteField::companyName,
};

class LineReader {
public:
    explicit LineReader(const char16_t* line) : p_(line) {}

    // The value up to the next comma into the field (cut to fit); empty past the end.
    void ReadValue(FieldRef field) {
        const char16_t* start = p_;
        while (*p_ != 0 && *p_ != u',') ++p_;
        CopyTextN(field.text, field.width, start, static_cast<std::size_t>(p_ - start));
        if (*p_ == u',') ++p_;
    }

    // The rest of the line without commas and spaces, cut to fit.
    void ReadRestCompacted(FieldRef field) {
        std::size_t n = 0;
        for (; *p_ != 0; ++p_) {
            if (*p_ != u',' && *p_ != u' ' && n + 1 < field.width) field.text[n++] = *p_;
        }
        field.text[n] = 0;
    }

private:
    const char16_t* p_;
};

}  // namespace

void ApplyQuoteLine(const char16_t* line) {
    if (!line || IsEmptyText(line)) return;
    LineReader reader(line);
    char16_t symbol[kSymbolWidth];
    char16_t code[kExchangeCodeWidth];
    reader.ReadValue({symbol, kSymbolWidth});
    reader.ReadValue({code, kExchangeCodeWidth});
    if (IsEmptyText(symbol) || IsEmptyText(code)) return;

    int row = FindQuoteRow(symbol, code);
    if (row != kNoRow) {
        quoteRowMatched = true;
    } else {
        row = AppendQuoteRow(symbol, code);
        if (row == kNoRow) return;
    }
    QuoteRecord& record = Portfolio[row];
    for (QuoteField field : kLineOrder) reader.ReadValue(FieldOf(record, field));
    reader.ReadRestCompacted(FieldOf(record, QuoteField::sharesOut));
    // "#" ends a record in the data file; a name must not carry one.
    for (char16_t* c = record.companyName; *c != 0; ++c) {
        if (*c == u'#') *c = u' ';
    }
}
