// Quote requests for any portfolio. Input: one row a line, "symbol code" (the code the unit
// after the last space); a byte is a unit, but 0xFF takes the next two bytes as one unit, so
// that any UTF-16 reaches a symbol. Every batch's path ends inside its buffer, holds only
// what a request target can carry (its list's double quotes and commas aside), keeps the
// batch's own keys, and names exactly its rows: each part of the list decodes to the
// symbol's UTF-8 and the exchange's suffix.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "quotes/quote_batch.h"
#include "table_checks.h"

namespace {

std::u16string Units(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0xFF && i + 2 < bytes.size()) {
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i + 1]) |
                                           static_cast<unsigned char>(bytes[i + 2]) << 8);
            i += 2;
        } else {
            units += static_cast<char16_t>(b);
        }
    }
    return units;
}

void FillTable(std::string_view input) {
    tickwell_fuzz::ClearTable();
    int row = 0;
    while (!input.empty() && row < kPortfolioRows) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        const std::size_t space = line.rfind(' ');
        std::u16string symbol = Units(line.substr(0, space));
        const std::u16string code =
            space == std::string_view::npos ? u"U" : Units(line.substr(space + 1));
        symbol = symbol.substr(0, symbol.find(u'\0'));
        if (symbol.empty()) symbol = u"A";
        SetText(Portfolio[row].symbol, symbol.c_str());
        SetText(Portfolio[row].exchangeCode, code.c_str());
        ++row;
    }
}

// The symbol as UTF-8, a unit that is no character as U+FFFD.
std::string Utf8(const char16_t* s) {
    std::string out;
    for (; *s; ++s) {
        char32_t c = *s;
        if (c >= 0xD800 && c <= 0xDBFF && s[1] >= 0xDC00 && s[1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[1] - 0xDC00);
            ++s;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        FUZZ_CHECK(i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0);
        out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
        i += 2;
    }
    return out;
}

bool Carried(char c) {
    if (c <= 0x20 || c >= 0x7F) return false;
    return std::string_view("\"#<>\\^`{|}[]").find(c) == std::string_view::npos;
}

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        FUZZ_CHECK(c < 0x80);
        out += static_cast<char>(c);
    }
    return out;
}

void CheckBatch(const QuoteBatch& batch) {
    std::size_t length = 0;
    while (length < kQuotePathWidth && batch.path[length] != 0) ++length;
    FUZZ_CHECK(length < kQuotePathWidth);
    const std::string path = Narrow(std::u16string_view(batch.path, length));
    const std::string prefix = Narrow(kQuotePathPrefix);
    const std::string tail = Narrow(kQuotePathTail);
    FUZZ_CHECK(path.size() >= prefix.size() + tail.size());
    FUZZ_CHECK(path.compare(0, prefix.size(), prefix) == 0);
    FUZZ_CHECK(path.compare(path.size() - tail.size(), tail.size(), tail) == 0);
    const std::string list = path.substr(prefix.size(), path.size() - prefix.size() - tail.size());
    // Only the list's own separators and nothing that could start another key.
    for (char c : list) FUZZ_CHECK(Carried(c) && c != '&' && c != '=' && c != '+');

    int row = batch.startRow;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        FUZZ_CHECK(row < kPortfolioRows && RowInUse(row));
        char16_t suffix[kRequestSuffixWidth];
        RequestSuffixForCode(Portfolio[row].exchangeCode, suffix);
        const std::string part = list.substr(start, comma - start);
        FUZZ_CHECK(PercentDecoded(part) == Utf8(Portfolio[row].symbol) + Utf8(suffix));
        ++row;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    FUZZ_CHECK(row - batch.startRow <= kQuoteBatchRows);
    FUZZ_CHECK(batch.nextStart == (row < kPortfolioRows && RowInUse(row) ? row : kPortfolioRows));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FillTable(std::string_view(reinterpret_cast<const char*>(data), size));
    tickwell_fuzz::CheckTableShape();
    if (!RowInUse(0)) return 0;
    QuoteBatch batch;
    batch.startRow = 0;
    for (;;) {
        BuildQuoteBatch(batch);
        CheckBatch(batch);
        if (batch.nextStart >= kPortfolioRows) break;
        batch.startRow = batch.nextStart;
    }
    return 0;
}
