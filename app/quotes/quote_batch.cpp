#include "quotes/quote_batch.h"

#include "model/fixed_text.h"
#include "model/portfolio.h"

namespace {

bool NeedsEncoding(char16_t c) {
    if (c <= 0x20 || c >= 0x7F) return true;
    switch (c) {
        case u'"':
        case u'#':
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
        case u']':
            return true;
        default:
            return false;
    }
}

void AppendByte(char16_t (&path)[kQuotePathWidth], unsigned byte) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    const char16_t encoded[] = {u'%', kHex[byte >> 4], kHex[byte & 0xF], 0};
    AddText(path, encoded);
}

// Appends the symbol as stored, with the characters a request target cannot hold
// percent-encoded as UTF-8.
void AppendSymbol(char16_t (&path)[kQuotePathWidth], const char16_t* symbol) {
    for (const char16_t* p = symbol; *p != 0; ++p) {
        char32_t c = *p;
        if (!NeedsEncoding(*p)) {
            const char16_t plain[] = {*p, 0};
            AddText(path, plain);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            AppendByte(path, c);
        } else if (c < 0x800) {
            AppendByte(path, 0xC0 | (c >> 6));
            AppendByte(path, 0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            AppendByte(path, 0xE0 | (c >> 12));
            AppendByte(path, 0x80 | ((c >> 6) & 0x3F));
            AppendByte(path, 0x80 | (c & 0x3F));
        } else {
            AppendByte(path, 0xF0 | (c >> 18));
            AppendByte(path, 0x80 | ((c >> 12) & 0x3F));
            AppendByte(path, 0x80 | ((c >> 6) & 0x3F));
            AppendByte(path, 0x80 | (c & 0x3F));
        }
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
