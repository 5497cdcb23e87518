// A quote reply applied to a table with prior content. Input: a row count, a flags byte (bit 0:
// the reply was cut short), two bytes that pick the prior rows, then the reply's bytes.
// After it the table keeps its shape, no row is lost or moved, and a reply whose lines that
// begin with a double quote are made to begin otherwise changes nothing at all.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "quotes/reply_lines.h"
#include "table_checks.h"

namespace {

constexpr std::size_t kHeader = 4;
const char16_t* const kSymbols[] = {u"MSFT", u"IBM", u"RY", u"VOD", u"6488", u"BRK-B", u"^DJI",
                                    u"GE",   u"KO",  u"A",  u"SAP", u"7203", u"$TICK", u"X"};
const char16_t* const kCodes[] = {u"U", u"T", u"G", u"X", u"A", u"B", u"D", u"M", u"V", u"Z"};
const char16_t* const kPrices[] = {u"*", u"", u"29.12", u"N/A", u"123456789", u"-0.5"};

void FillPriorTable(int rows, std::uint32_t seed) {
    tickwell_fuzz::ClearTable();
    for (int i = 0; i < rows; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int row = AppendQuoteRow(kSymbols[(seed >> 8) % std::size(kSymbols)],
                                       kCodes[(seed >> 16) % std::size(kCodes)]);
        if (row == kNoRow) return;
        SetText(Portfolio[row].lastPrice, kPrices[(seed >> 24) % std::size(kPrices)]);
    }
}

// The reply with every line start's double quote replaced: no quote line remains.
std::vector<unsigned char> WithoutQuoteLines(const std::uint8_t* reply, std::size_t count) {
    std::vector<unsigned char> masked(reply, reply + count);
    for (std::size_t i = 0; i < count; ++i) {
        const bool lineStart = i == 0 || masked[i - 1] == '\n' || masked[i - 1] == '\r';
        if (lineStart && masked[i] == '"') masked[i] = '\'';
    }
    return masked;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeader) return 0;
    const int rows = data[0] % (kPortfolioRows + 1);
    const bool cut = (data[1] & 1) != 0;
    const std::uint32_t seed = data[2] | (data[3] << 8);
    const std::uint8_t* reply = data + kHeader;
    const std::size_t count = size - kHeader;

    FillPriorTable(rows, seed);
    static QuoteRecord before[kPortfolioRows];
    std::memcpy(before, Portfolio, sizeof before);
    const int priorRows = PortfolioRowCount();

    const std::vector<unsigned char> masked = WithoutQuoteLines(reply, count);
    ApplyReplyLines(masked.data(), masked.size(), cut);
    FUZZ_CHECK(std::memcmp(before, Portfolio, sizeof before) == 0);

    ApplyReplyLines(reply, count, cut);
    tickwell_fuzz::CheckTableShape();
    FUZZ_CHECK(PortfolioRowCount() >= priorRows);
    for (int row = 0; row < priorRows; ++row) {
        FUZZ_CHECK(TextEquals(Portfolio[row].symbol, before[row].symbol));
        FUZZ_CHECK(TextEquals(Portfolio[row].exchangeCode, before[row].exchangeCode));
    }
    return 0;
}
