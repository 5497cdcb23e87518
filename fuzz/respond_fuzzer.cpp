// The quote service's answer to any request line: "METHOD target" (the method up to the first
// space), on a Monday when America and Europe trade and Asia has closed. One instant: each
// market's session is then worked out once, not again for every input.
// Every answer has a known status; a quote reply is whole lines ended by CR LF, each holding
// whole quoted texts and no control character, or one of the fixed messages; a page starts every
// tag itself, whatever the request echoes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "history.h"
#include "quote_format.h"
#include "routes.h"

namespace {

constexpr std::int64_t kInstant = 1796657400;  // 2026-12-07T15:30:00Z

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

// A history table: its header, then rows of seven values.
void CheckTable(const std::string& body) {
    FUZZ_CHECK(body.rfind(quotes::kHistoryHeader, 0) == 0);
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find('\n', start);
        FUZZ_CHECK(end != std::string::npos);
        std::size_t commas = 0;
        for (std::size_t i = start; i < end; ++i) commas += body[i] == ',';
        FUZZ_CHECK(commas == 6);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view request(reinterpret_cast<const char*>(data), size);
    const std::size_t space = request.find(' ');
    const std::string_view method = request.substr(0, space);
    const std::string_view target =
        space == std::string_view::npos ? std::string_view() : request.substr(space + 1);
    const quotes::Reply reply = quotes::Respond(method, target, kInstant);
    FUZZ_CHECK(reply.status == 200 || reply.status == 400 || reply.status == 404 ||
               reply.status == 405);
    FUZZ_CHECK(!reply.body.empty());
    if (reply.isQuotes) {
        FUZZ_CHECK(reply.status == 200);
        CheckQuoteBody(reply.body);
    } else if (reply.contentType.rfind("text/csv", 0) == 0) {
        CheckTable(reply.body);
    } else if (reply.contentType.rfind("text/html", 0) == 0) {
        CheckPage(reply.body);
    }
    return 0;
}
