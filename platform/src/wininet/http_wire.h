// One kept-alive TCP connection and the exchange of a request for its reply over it. The
// connection is opened on first use, kept while the server keeps it, and opened again (once
// per request) when a kept connection turns out to have been closed by the server.
#pragma once

#include <string>

#include "platform/win_types.h"
#include "wininet/connect_routes.h"
#include "wininet/http_timeouts.h"

namespace platform::detail {

struct WireReply {
    long status = 0;     // 0: no reply came, and `error` says why
    std::string body;    // what came of the body
    bool whole = false;  // the body came to its end
    DWORD error = 0;
};

class HttpWire {
public:
    // More than any reply the viewer reads (it stops at 16,383 bytes); a longer body is cut
    // and reads as a failed connection at that point.
    static constexpr std::size_t kBodyLimit = 1 << 20;

    HttpWire() = default;
    HttpWire(const HttpWire&) = delete;
    HttpWire& operator=(const HttpWire&) = delete;
    ~HttpWire() { Close(); }

    // Sends `head` (a whole request head) to `to` and reads the reply.
    WireReply Exchange(const Endpoint& to, const std::string& head, const HttpTimeouts& timeouts);

private:
    void Close();

    int fd_ = -1;
    Endpoint to_;
};

}  // namespace platform::detail
