#include "http/fault_modes.h"

#include <cstdint>
#include <string>

namespace quotes {
namespace {

constexpr std::size_t kOversizeBody = 20 * 1024;

const char* const k999Page =
    "<html><head><title>Error 999</title></head><body>Sorry, Unable to process request at "
    "this time -- error 999.</body></html>";

std::string GarbageBody() {
    std::string body(2048, '\0');
    std::uint32_t x = 2463534242u;
    for (char& c : body) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xFF);
    }
    return body;
}

}  // namespace

void Disturb(const FaultModes& faults, Reply& reply) {
    if (faults.garbage) reply.body = GarbageBody();
    if (faults.oversize) {
        const std::string unit = reply.body.empty() ? std::string("N/A\r\n") : reply.body;
        while (reply.body.size() <= kOversizeBody) reply.body += unit;
    }
    if (faults.status500) {
        reply.status = 500;
        reply.contentType = "text/html";
        reply.body = "<html><body>500 Internal Server Error</body></html>";
    }
    if (faults.status999) {
        reply.status = 999;
        reply.contentType = "text/html";
        reply.body = k999Page;
    }
}

}  // namespace quotes
