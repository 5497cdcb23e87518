// What the service answers to one request: the quote reply, the history table, the pages, the
// status, or an error. Quotes, history and pages come from the chain of sources.
#pragma once

#include <optional>

#include "http/request_handler.h"

namespace quotes {

inline constexpr const char* kQuotePath = "/d/quotes.csv";
// The other paths clients of the service hard-coded for the same reply.
inline constexpr const char* kQuotePathSingular = "/d/quote.csv";
inline constexpr const char* kQuotePathBare = "/d";
inline constexpr const char* kStatusPath = "/status";
inline constexpr const char* kUnavailableBody = "Quotes are unavailable: no source answered.\r\n";

class SourceChain;

Reply Respond(const Request& request, SourceChain& sources);
// The same when it needs no upstream call; nothing when it must wait on one.
std::optional<Reply> RespondAtOnce(const Request& request, SourceChain& sources);

// The engine's handler over a chain of sources (not owned).
class Routes final : public RequestHandler {
public:
    explicit Routes(SourceChain& sources);
    bool Blocks() const override { return blocks_; }
    std::optional<Reply> AnswerAtOnce(const Request& request) override;
    Reply Answer(const Request& request) override;

private:
    SourceChain& sources_;
    const bool blocks_;
};

}  // namespace quotes
