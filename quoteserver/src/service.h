// The HTTP side of the quote service: listens on loopback, answers every request through
// Respond, applies the fault modes that test clients ask for, logs one line per request.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quotes {

class SourceChain;

struct FaultModes {
    int delayMs = 0;            // wait before answering
    bool closeMidBody = false;  // announce the whole body, send half, close
    bool garbage = false;       // a body of random bytes
    bool oversize = false;      // a body of more than 16 KiB
    bool status500 = false;
    bool status999 = false;  // the historical overload page
    bool trickle = false;    // the body in small chunks with pauses
};

struct ServiceOptions {
    std::string host = "127.0.0.1";
    int port = 0;                       // 0: any free port
    std::optional<std::int64_t> clock;  // fixed market time; the real clock when unset
    bool quiet = false;
    int threads = 8;
    FaultModes faults;
    SourceChain* sources =
        nullptr;  // where quotes come from (not owned); the simulated market when null
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
