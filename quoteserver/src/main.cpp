// tickwell-quotes: the bundled quote service.
#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <sys/stat.h>

#include <memory>
#include <mutex>

#include "common/market_time.h"
#include "http/service.h"
#include "routes/routes.h"
#include "source_setup.h"

namespace {

const char* const kUsageHead =
    "usage: tickwell-quotes [options]\n"
    "  --port N          listen on port N of loopback (0, the default: any free port)\n"
    "  --host ADDRESS    a loopback address to listen on (default 127.0.0.1)\n"
    "  --clock TIME      fix the market time: 2026-12-07T15:30:00Z or epoch seconds\n"
    "  --quiet           no request log on stderr\n"
    "  --threads N       event loops serving the connections (default 2)\n"
    "  --header-timeout MS  a request's head must arrive whole within MS milliseconds of the\n"
    "                    read's start; an idle kept-alive connection closes after as long\n"
    "                    (default 10000)\n"
    "quote sources:\n"
    "  --source LIST     where quotes come from, a failover chain of comma-separated names:\n";

const char* const kUsageTail =
    "                    a symbol the first cannot answer (down, limited, no data) goes to the\n"
    "                    next; when all fail, the last quote held is served as it is, else 503\n"
    "  --upstream NAME=URL  a live source's base URL instead of its public hosts (a mirror)\n"
    "  --config FILE     the file of keys (default $XDG_CONFIG_HOME/tickwell/quotes.conf):\n"
    "                    lines FINNHUB_API_KEY=... and TWELVEDATA_API_KEY=...; the environment "
    "wins\n"
    "  --max-age SECONDS how long a live quote is served from the cache (default 30)\n"
    "  --user-agent TEXT the User-Agent of the calls to live sources (default: a current desktop\n"
    "                    browser's, as the sources throttle what does not look like one)\n"
    "  GET /status       each source's state, calls, cache entries and hits\n"
    "fault modes, for testing clients (quote replies only):\n"
    "  --delay MS        wait MS milliseconds before answering\n"
    "  --close-mid-body  send half of the announced body, then close the connection\n"
    "  --garbage         answer random bytes\n"
    "  --oversize        answer a body of more than 16 KiB\n"
    "  --status-500      answer status 500\n"
    "  --status-999      answer status 999 with the overload page\n"
    "  --trickle         send the body in small chunks with pauses\n"
    "The port is printed on the first line of stdout.\n";

std::string Usage() {
    return kUsageHead + quotes::SourceHelp(22) + kUsageTail;
}

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

bool ParseUpstream(const std::string& text, quotes::SourceOptions& sources) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        std::fprintf(stderr, "tickwell-quotes: --upstream takes NAME=URL\n");
        return false;
    }
    sources.upstreams[text.substr(0, equals)] = text.substr(equals + 1);
    return true;
}

bool ParseConfig(const char* path, quotes::SourceOptions& sources) {
    struct stat info {};
    std::FILE* file = nullptr;
    const char* why = "not a regular file";
    if (::stat(path, &info) != 0) {
        why = std::strerror(errno);
    } else if (S_ISREG(info.st_mode) && !(file = std::fopen(path, "r"))) {
        why = std::strerror(errno);
    }
    if (!file) {
        std::fprintf(stderr, "tickwell-quotes: cannot read --config '%s': %s\n", path, why);
        return false;
    }
    std::fclose(file);
    sources.configPath = path;
    return true;
}

// The options of the quote sources; false (after a message) when one is wrong, and `taken`
// false when the word is none of theirs.
bool ParseSourceOption(const std::string& arg, const char* value, quotes::SourceOptions& sources,
                       bool& taken, int& i) {
    taken = value != nullptr;
    if (arg == "--source" && value) {
        ++i;
        sources.names = quotes::SplitNames(value);
        return true;
    }
    if (arg == "--upstream" && value) return ++i, ParseUpstream(value, sources);
    if (arg == "--config" && value) return ++i, ParseConfig(value, sources);
    if (arg == "--max-age" && value)
        return ++i, ParseNumber(value, 0, 86400, sources.maxAgeSeconds);
    if (arg == "--user-agent" && value) {
        ++i;
        sources.userAgent = value;
        // A header's value: no line break, nothing that is no text.
        const bool sound = !sources.userAgent.empty() && sources.userAgent.size() <= 512 &&
                           std::all_of(sources.userAgent.begin(), sources.userAgent.end(),
                                       [](char c) { return c >= 0x20 && c != 0x7F; });
        if (!sound) std::fprintf(stderr, "tickwell-quotes: --user-agent wants printable text\n");
        return sound;
    }
    taken = false;
    return true;
}

// Reads the command line; false (after a message) when it is wrong.
bool ParseOptions(int argc, char** argv, quotes::ServiceOptions& options,
                  quotes::SourceOptions& sources) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        auto& f = options.faults;
        bool taken = false;
        if (!ParseSourceOption(arg, hasValue ? argv[i + 1] : nullptr, sources, taken, i))
            return false;
        if (taken) continue;
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage().c_str(), stdout);
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
        } else if (arg == "--header-timeout" && hasValue) {
            if (!ParseNumber(argv[++i], 100, 600000, options.headerTimeoutMs)) return false;
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
                         arg.c_str(), Usage().c_str());
            return false;
        }
    }
    return true;
}

// The request log's lines of upstream calls, on stderr beside the service's own.
void LogLine(const std::string& line) {
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    quotes::ServiceOptions options;
    quotes::SourceOptions sourceOptions;
    if (!ParseOptions(argc, argv, options, sourceOptions)) return 2;
    if (!options.quiet) sourceOptions.log = LogLine;
    quotes::SourceSetup setup;
    std::string error, warning;
    const std::unique_ptr<quotes::SourceChain> sources = setup.Build(sourceOptions, error, warning);
    if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
    if (!sources) {
        std::fprintf(stderr, "tickwell-quotes: %s\n", error.c_str());
        return 2;
    }
    quotes::Routes routes(*sources);
    options.handler = &routes;

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
    // Whether the live sources' hosts can be reached, while the service already answers.
    std::thread checker([&] { setup.CheckReach(); });
    const bool served = service.Run();
    // Run also ends when the socket fails; the stopper then still waits for its signal.
    if (!served) pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    checker.join();
    return served ? 0 : 1;
}
