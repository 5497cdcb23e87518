#include "quotes/quote_batch.h"

#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/kernel32/nls.h"

namespace {

bool NeedsEncoding(char16_t c) {
    if (c <= 0x20 || c >= 0x7F) return true;
    switch (c) {
        case u'"':
        case u'#':
        // These would change the request's meaning inside the list: a comma or a plus ends a
        // symbol, an ampersand starts a key ("X&f=n" would replace the batch's tags).
        case u',':
        case u'+':
        case u'&':
        case u'=':
        case u'%':
        case u'<':
        case u'>':
        case u'\\':
        case u'^':
        case u'`':
        case u'{':
        case u'|':
        case u'}':
        case u'[':
        case u']': return true;
        default: return false;
    }
}

void AppendByte(char16_t (&path)[kQuotePathWidth], unsigned char byte) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    const char16_t encoded[] = {u'%', kHex[byte >> 4], kHex[byte & 0xF], 0};
    AddText(path, encoded);
}

bool IsSurrogatePair(const char16_t* p) {
    return p[0] >= 0xD800 && p[0] <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF;
}

// Appends the symbol as stored, with the characters a request target cannot hold
// percent-encoded as UTF-8 (a unit that is no character, a lone surrogate, as U+FFFD).
void AppendSymbol(char16_t (&path)[kQuotePathWidth], const char16_t* symbol) {
    for (const char16_t* p = symbol; *p != 0; ++p) {
        if (!NeedsEncoding(*p)) {
            const char16_t plain[] = {*p, 0};
            AddText(path, plain);
            continue;
        }
        const int units = IsSurrogatePair(p) ? 2 : 1;
        char bytes[4] = {};
        const int count =
            WideCharToMultiByte(CP_UTF8, 0, p, units, bytes, sizeof bytes, nullptr, nullptr);
        for (int i = 0; i < count; ++i) AppendByte(path, static_cast<unsigned char>(bytes[i]));
        p += units - 1;
    }
}

}  // namespace

int BuildQuoteBatch(int startRow, char16_t (&path)[kQuotePathWidth]) {
    SetText(path, kQuotePathPrefix);
    for (int i = 0; i < kQuoteBatchRows; ++i) {
        const int row = startRow + i;
        if (row < 0 || row >= kPortfolioRows || !RowInUse(row)) {
            AddText(path, kQuotePathTail);
            return kPortfolioRows;
        }
        if (i > 0) AddText(path, u",");
        AppendSymbol(path, Portfolio[row].symbol);
        char16_t suffix[kRequestSuffixWidth];
        RequestSuffixForCode(Portfolio[row].exchangeCode, suffix);
        AddText(path, suffix);
    }
    AddText(path, kQuotePathTail);
    const int next = startRow + kQuoteBatchRows;
    return RowInUse(next) ? next : kPortfolioRows;
}
