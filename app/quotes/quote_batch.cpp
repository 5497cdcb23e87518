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

// The path as it is written: each piece goes at its end, cut to the path's width - 1.
class PathWriter {
public:
    explicit PathWriter(char16_t (&path)[kQuotePathWidth]) : path_(path) { path_[0] = 0; }

    void Put(const char16_t* text, std::size_t length) {
        CopyTextN(path_ + length_, kQuotePathWidth - length_, text, length);
        length_ += TextLength(path_ + length_);
    }
    void Put(const char16_t* text) { Put(text, TextLength(text)); }

    void PutByte(unsigned char byte) {
        static constexpr char16_t kHex[] = u"0123456789ABCDEF";
        const char16_t encoded[] = {u'%', kHex[byte >> 4], kHex[byte & 0xF]};
        Put(encoded, 3);
    }

private:
    char16_t (&path_)[kQuotePathWidth];
    std::size_t length_ = 0;
};

bool IsSurrogatePair(const char16_t* p) {
    return p[0] >= 0xD800 && p[0] <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF;
}

// Appends the symbol as stored, with the characters a request target cannot hold
// percent-encoded as UTF-8 (a unit that is no character, a lone surrogate, as U+FFFD).
void PutSymbol(PathWriter& path, const char16_t* symbol) {
    for (const char16_t* p = symbol; *p != 0; ++p) {
        if (!NeedsEncoding(*p)) {
            path.Put(p, 1);
            continue;
        }
        const int units = IsSurrogatePair(p) ? 2 : 1;
        char bytes[4] = {};
        const int count =
            WideCharToMultiByte(CP_UTF8, 0, p, units, bytes, sizeof bytes, nullptr, nullptr);
        for (int i = 0; i < count; ++i) path.PutByte(static_cast<unsigned char>(bytes[i]));
        p += units - 1;
    }
}

}  // namespace

int BuildQuoteBatch(int startRow, char16_t (&out)[kQuotePathWidth]) {
    PathWriter path(out);
    path.Put(kQuotePathPrefix);
    for (int i = 0; i < kQuoteBatchRows; ++i) {
        const int row = startRow + i;
        if (row < 0 || row >= kPortfolioRows || !RowInUse(row)) {
            path.Put(kQuotePathTail);
            return kPortfolioRows;
        }
        if (i > 0) path.Put(u",", 1);
        PutSymbol(path, Portfolio[row].symbol);
        char16_t suffix[kRequestSuffixWidth];
        RequestSuffixForCode(Portfolio[row].exchangeCode, suffix);
        path.Put(suffix);
    }
    path.Put(kQuotePathTail);
    const int next = startRow + kQuoteBatchRows;
    return RowInUse(next) ? next : kPortfolioRows;
}
