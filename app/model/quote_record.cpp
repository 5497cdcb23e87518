#include "model/quote_record.h"

#include "model/fixed_text.h"

namespace {

template <std::size_t W>
FieldRef Ref(char16_t (&text)[W]) {
    return {text, W};
}

}  // namespace

FieldRef FieldOf(QuoteRecord& r, QuoteField field) {
    switch (field) {
        case QuoteField::symbol: return Ref(r.symbol);
        case QuoteField::exchangeCode: return Ref(r.exchangeCode);
        case QuoteField::prevClose: return Ref(r.prevClose);
        case QuoteField::eps: return Ref(r.eps);
        case QuoteField::peRatio: return Ref(r.peRatio);
        case QuoteField::lastTradeDate: return Ref(r.lastTradeDate);
        case QuoteField::lastPrice: return Ref(r.lastPrice);
        case QuoteField::change: return Ref(r.change);
        case QuoteField::pctChange: return Ref(r.pctChange);
        case QuoteField::volume: return Ref(r.volume);
        case QuoteField::marketCap: return Ref(r.marketCap);
        case QuoteField::lastTradeTime: return Ref(r.lastTradeTime);
        case QuoteField::reserved: return Ref(r.reserved);
        case QuoteField::dayHigh: return Ref(r.dayHigh);
        case QuoteField::dayLow: return Ref(r.dayLow);
        case QuoteField::yearHigh: return Ref(r.yearHigh);
        case QuoteField::yearLow: return Ref(r.yearLow);
        case QuoteField::sharesOut: return Ref(r.sharesOut);
        case QuoteField::companyName: return Ref(r.companyName);
    }
    return Ref(r.reserved);
}

const char16_t* FieldText(const QuoteRecord& record, QuoteField field) {
    return FieldOf(const_cast<QuoteRecord&>(record), field).text;
}

void ClearRecord(QuoteRecord& record) {
    for (int f = 0; f < kQuoteFieldCount; ++f) {
        FieldOf(record, static_cast<QuoteField>(f)).text[0] = 0;
    }
}

void SetQuoteFieldsToPlaceholder(QuoteRecord& record) {
    for (int f = static_cast<int>(QuoteField::prevClose); f < kQuoteFieldCount; ++f) {
        const FieldRef ref = FieldOf(record, static_cast<QuoteField>(f));
        CopyText(ref.text, ref.width, u"*");
    }
}
