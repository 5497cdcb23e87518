// The HTTP side of the quote service: listens on loopback, answers every request through its
// handler, applies the fault modes that test clients ask for, logs one line per request.
// Connections are served by a few event loops, none of them ever waiting on one client; the
// replies that wait on the network are worked out on a pool of threads of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "http/fault_modes.h"
#include "http/request_handler.h"

namespace quotes {

struct ServiceOptions {
    std::string host = "127.0.0.1";
    int port = 0;                       // 0: any free port
    std::optional<std::int64_t> clock;  // fixed market time; the real clock when unset
    bool quiet = false;
    int threads = 2;  // event loops
    // A request's head must be whole this long after the service starts reading it (an idle
    // kept-alive connection closes after as long).
    int headerTimeoutMs = 10000;
    FaultModes faults;
    RequestHandler* handler = nullptr;  // not owned; required
};

class QuoteService {
public:
    explicit QuoteService(ServiceOptions options);
    ~QuoteService();

    // Binds the listening socket; returns the port, or -1.
    int Bind();
    // Serves until Stop; returns false when the socket could not be served.
    bool Run();
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quotes
