#include "quotes/reply_lines.h"

#include "model/exchange_table.h"
#include "model/fixed_text.h"

namespace {

constexpr unsigned char kQuote = '"';

// C0 controls, DEL and the C1 controls (0x80 to 0x9F as Latin-1): no quote value holds one,
// and stored they would reach the data file and the screen (DEL draws as "^?").
bool IsControl(char16_t unit) {
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

// Appends units to a QuoteLine, never past its width; control characters are left out.
class LineWriter {
public:
    explicit LineWriter(QuoteLine& line) : line_(line) { line_[0] = 0; }
    void Put(char16_t unit) {
        if (IsControl(unit) || length_ + 1 >= kQuoteLineWidth) return;
        line_[length_++] = unit;
        line_[length_] = 0;
    }
    void Put(const char16_t* text) {
        for (; *text; ++text) Put(*text);
    }

private:
    QuoteLine& line_;
    std::size_t length_ = 0;
};

char16_t Unit(unsigned char byte) {
    return static_cast<char16_t>(byte);  // Latin-1: 0x80 to 0xFF are U+0080 to U+00FF
}

bool IsLineEnd(unsigned char byte) {
    return byte == '\r' || byte == '\n';
}

bool HoldsNul(const unsigned char* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (bytes[i] == 0) return true;
    }
    return false;
}

}  // namespace

void NormalizeReplyLine(const unsigned char* bytes, std::size_t length, QuoteLine& line) {
    LineWriter out(line);
    std::size_t i = 1;  // past the symbol's opening double quote
    for (; i < length && bytes[i] != '.' && bytes[i] != kQuote; ++i) out.Put(Unit(bytes[i]));
    out.Put(u',');
    if (i < length && bytes[i] == kQuote) {
        // No suffix: the default exchange. The values begin after the quote and its comma.
        out.Put(u"U,");
        i += 2;
    } else if (i < length && bytes[i] == '.') {
        char16_t suffix[kExchangeSuffixWidth + 1] = {};
        std::size_t n = 0;
        for (++i; i < length && bytes[i] != kQuote; ++i) {
            if (n < kExchangeSuffixWidth) suffix[n] = Unit(bytes[i]);
            ++n;  // a suffix of four or more characters matches no exchange
        }
        const char16_t code = n < kExchangeSuffixWidth ? CodeForSuffix(suffix) : 0;
        if (code) out.Put(code);
        if (i < length) ++i;  // the closing quote; the reply's own comma follows the code
    }
    // Inside a quoted value a comma is no separator ("Amazon.com, Inc."): it is dropped, so
    // the line keeps one field per tag.
    bool quoted = false;
    for (; i < length; ++i) {
        if (bytes[i] == kQuote) {
            quoted = !quoted;
        } else if (!(quoted && bytes[i] == ',')) {
            out.Put(Unit(bytes[i]));
        }
    }
}

void ApplyReplyLines(const unsigned char* reply, std::size_t count, bool /*cut*/) {
    std::size_t start = 0;
    while (start < count) {
        std::size_t end = start;
        while (end < count && !IsLineEnd(reply[end])) ++end;
        const bool ended = end < count;
        std::size_t next = end;
        if (ended)
            next += (reply[end] == '\r' && end + 1 < count && reply[end + 1] == '\n') ? 2 : 1;
        if (reply[start] == kQuote && ended && !HoldsNul(reply + start, end - start)) {
            QuoteLine line;
            NormalizeReplyLine(reply + start, end - start, line);
            ApplyQuoteLine(line);
        }
        start = next;
    }
}
