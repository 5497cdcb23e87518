// What the service answers to one request, worked out without any network: the quote reply,
// the pages, or an error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quotes {

inline constexpr const char* kQuotePath = "/d/quotes.csv";
// The other paths clients of the service hard-coded for the same reply.
inline constexpr const char* kQuotePathSingular = "/d/quote.csv";
inline constexpr const char* kQuotePathBare = "/d";
inline constexpr const char* kStatusPath = "/status";
inline constexpr const char* kUnavailableBody = "Quotes are unavailable: no source answered.\r\n";

struct Reply {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    bool isQuotes = false;  // a quote reply (the fault modes apply to these)
    std::string location;   // a redirect's target
};

class SourceChain;

// `target` is the raw request target, in origin or absolute form; quotes and history come from
// `sources`.
Reply Respond(std::string_view method, std::string_view target, std::int64_t utcSeconds,
              SourceChain& sources);
// The same from the simulated market alone.
Reply Respond(std::string_view method, std::string_view target, std::int64_t utcSeconds);

}  // namespace quotes
