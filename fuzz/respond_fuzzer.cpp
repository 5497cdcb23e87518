// The quote service's answer to any request line: "METHOD target" (the method up to the first
// space), on a Monday when America and Europe trade and Asia has closed. One instant: each
// market's session is then worked out once, not again for every input.
// Every answer has a known status and the form service_checks.h names for its kind.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "service_checks.h"
#include "support/simulated_replies.h"

namespace {

constexpr std::int64_t kInstant = 1796657400;  // 2026-12-07T15:30:00Z

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view request(reinterpret_cast<const char*>(data), size);
    const std::size_t space = request.find(' ');
    const std::string_view method = request.substr(0, space);
    const std::string_view target =
        space == std::string_view::npos ? std::string_view() : request.substr(space + 1);
    const quotes::Reply reply = tickwell_test::SimulatedReply(method, target, kInstant);
    FUZZ_CHECK(reply.status == 200 || reply.status == 400 || reply.status == 404 ||
               reply.status == 405);
    FUZZ_CHECK(!reply.body.empty());
    if (reply.isQuotes) {
        FUZZ_CHECK(reply.status == 200);
        tickwell_fuzz::CheckQuoteBody(reply.body);
    } else if (reply.contentType.rfind("text/csv", 0) == 0) {
        tickwell_fuzz::CheckTable(reply.body);
    } else if (reply.contentType.rfind("text/html", 0) == 0) {
        tickwell_fuzz::CheckPage(reply.body);
    }
    return 0;
}
