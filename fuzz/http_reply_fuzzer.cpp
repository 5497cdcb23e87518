// The HTTP client's reply reader on any bytes. The first byte says how they arrive: in reads of
// 1 to 8 bytes in turn against all at once, and whether the connection then ends. Both ways
// must give the same status, body and state; the body never passes the limit, a reply that
// keeps its connection is done, and a status is 100 to 999.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "wininet/reply_parser.h"

namespace {

constexpr std::size_t kLimit = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t pattern = data[0];
    const bool ends = (pattern & 0x80) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    platform::detail::ReplyParser once(kLimit);
    once.Feed(bytes);
    if (ends) once.End();

    platform::detail::ReplyParser inReads(kLimit);
    std::size_t at = 0;
    for (int read = 0; at < bytes.size(); ++read) {
        const std::size_t length = 1 + ((pattern >> (read % 7)) & 7);
        inReads.Feed(bytes.substr(at, length));
        at += length;
    }
    if (ends) inReads.End();

    FUZZ_CHECK(once.status() == inReads.status());
    FUZZ_CHECK(once.body() == inReads.body());
    FUZZ_CHECK(once.state() == inReads.state());
    FUZZ_CHECK(once.KeepsConnection() == inReads.KeepsConnection());
    FUZZ_CHECK(once.body().size() <= kLimit);
    FUZZ_CHECK(!once.KeepsConnection() ||
               once.state() == platform::detail::ReplyParser::State::done);
    FUZZ_CHECK(once.status() == 0 || (once.status() >= 100 && once.status() <= 999));
    return 0;
}
