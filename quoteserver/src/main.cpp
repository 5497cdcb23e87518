// tickwell-quotes: the bundled quote service.
#include <pthread.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "market_time.h"
#include "service.h"

namespace {

const char* const kUsage =
    "usage: tickwell-quotes [options]\n"
    "  --port N          listen on port N of loopback (0, the default: any free port)\n"
    "  --host ADDRESS    a loopback address to listen on (default 127.0.0.1)\n"
    "  --clock TIME      fix the market time: 2026-12-07T15:30:00Z or epoch seconds\n"
    "  --quiet           no request log on stderr\n"
    "  --threads N       worker threads (default 8)\n"
    "fault modes, for testing clients (quote replies only):\n"
    "  --delay MS        wait MS milliseconds before answering\n"
    "  --close-mid-body  send half of the announced body, then close the connection\n"
    "  --garbage         answer random bytes\n"
    "  --oversize        answer a body of more than 16 KiB\n"
    "  --status-500      answer status 500\n"
    "  --status-999      answer status 999 with the overload page\n"
    "  --trickle         send the body in small chunks with pauses\n"
    "The port is printed on the first line of stdout.\n";

bool IsLoopback(const std::string& host) {
    return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

bool ParseNumber(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

// Reads the command line; false (after a message) when it is wrong.
bool ParseOptions(int argc, char** argv, quotes::ServiceOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        auto& f = options.faults;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--port" && hasValue) {
            if (!ParseNumber(argv[++i], 0, 65535, options.port)) return false;
        } else if (arg == "--host" && hasValue) {
            options.host = argv[++i];
            if (!IsLoopback(options.host)) {
                std::fprintf(stderr, "tickwell-quotes: listens on loopback only\n");
                return false;
            }
        } else if (arg == "--clock" && hasValue) {
            options.clock = quotes::ParseClock(argv[++i]);
            if (!options.clock) {
                std::fprintf(stderr, "tickwell-quotes: bad --clock '%s'\n", argv[i]);
                return false;
            }
        } else if (arg == "--threads" && hasValue) {
            if (!ParseNumber(argv[++i], 1, 256, options.threads)) return false;
        } else if (arg == "--delay" && hasValue) {
            if (!ParseNumber(argv[++i], 0, 600000, f.delayMs)) return false;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--close-mid-body") {
            f.closeMidBody = true;
        } else if (arg == "--garbage") {
            f.garbage = true;
        } else if (arg == "--oversize") {
            f.oversize = true;
        } else if (arg == "--status-500") {
            f.status500 = true;
        } else if (arg == "--status-999") {
            f.status999 = true;
        } else if (arg == "--trickle") {
            f.trickle = true;
        } else {
            std::fprintf(stderr, "tickwell-quotes: unknown or incomplete option '%s'\n%s",
                         arg.c_str(), kUsage);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    quotes::ServiceOptions options;
    if (!ParseOptions(argc, argv, options)) return 2;

    // SIGINT and SIGTERM are taken by a thread of their own, which stops the server.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    quotes::QuoteService service(options);
    const int port = service.Bind();
    if (port < 0) {
        std::fprintf(stderr, "tickwell-quotes: cannot listen on %s:%d\n", options.host.c_str(),
                     options.port);
        return 1;
    }
    std::printf("%d\n", port);
    std::fflush(stdout);

    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        service.Stop();
    });
    const bool served = service.Run();
    // Run also ends when the socket fails; the stopper then still waits for its signal.
    if (!served) pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return served ? 0 : 1;
}
