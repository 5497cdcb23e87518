// The HTTP side of the quote service: listens on loopback, answers every request through
// Respond, applies the fault modes that test clients ask for, logs one line per request.
// Connections are served by a few event loops, none of them ever waiting on one client; the
// quote sources that wait on the network are asked on a pool of threads of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "http/fault_modes.h"

namespace quotes {

class SourceChain;

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
    // Where quotes come from (not owned); the simulated market when null.
    SourceChain* sources = nullptr;
    // The sources wait on the network: requests are answered off the event loops.
    bool sourcesBlock = false;
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
