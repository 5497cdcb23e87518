#include "service_checks.h"

#include <cstddef>
#include <string_view>

#include "fuzz_check.h"
#include "protocol/quote_line.h"
#include "sim/history.h"

namespace tickwell_fuzz {

void CheckQuoteBody(const std::string& body) {
    if (body == quotes::kMissingSymbolsBody || body == quotes::kMissingFormatBody) return;
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find("\r\n", start);
        FUZZ_CHECK(end != std::string::npos);
        const std::string_view line(body.data() + start, end - start);
        FUZZ_CHECK(!line.empty());
        std::size_t quotes = 0;
        for (char c : line) {
            FUZZ_CHECK(c != '\r' && c != '\n' && c != '\0');
            quotes += c == '"';
        }
        FUZZ_CHECK(quotes % 2 == 0);
        start = end + 2;
    }
}

// A history table: its header, then rows of seven values; or the dividends' header and rows
// of two.
void CheckTable(const std::string& body) {
    const bool dividends = body.rfind(quotes::kDividendHeader, 0) == 0;
    FUZZ_CHECK(dividends || body.rfind(quotes::kHistoryHeader, 0) == 0);
    const std::size_t columns = dividends ? 2 : 7;
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find('\n', start);
        FUZZ_CHECK(end != std::string::npos);
        std::size_t commas = 0;
        for (std::size_t i = start; i < end; ++i) commas += body[i] == ',';
        FUZZ_CHECK(commas == columns - 1);
        start = end + 1;
    }
}

void CheckPage(const std::string& body) {
    for (std::size_t at = body.find('<'); at != std::string::npos; at = body.find('<', at + 1)) {
        FUZZ_CHECK(at + 1 < body.size());
        const char next = body[at + 1];
        FUZZ_CHECK((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' ||
                   next == '!');
    }
}

}  // namespace tickwell_fuzz
