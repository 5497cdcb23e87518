// The failover chain of quote sources: each symbol goes to the first source that can answer it;
// when none can, to the last quote any of them holds, however old; when none holds one, the
// request fails (503), so no client ever reads a price of 0 for a symbol that exists.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sources/quote_source.h"

namespace quotes {

struct ChainReply {
    bool complete = false;  // every symbol answered: `body` holds its lines
    std::string body;
};

class SourceChain {
public:
    explicit SourceChain(std::vector<std::unique_ptr<QuoteSource>> sources);

    // Whether some source may wait on the network.
    bool Blocks() const;
    ChainReply Quotes(const std::vector<std::string>& symbols, const std::vector<std::string>& tags,
                      std::int64_t utcSeconds, std::int64_t deadlineMs);
    // The same when it needs no upstream call: every symbol that a source which waits on the
    // network would be asked for is held fresh by it. Nothing otherwise.
    std::optional<ChainReply> QuotesAtOnce(const std::vector<std::string>& symbols,
                                           const std::vector<std::string>& tags,
                                           std::int64_t utcSeconds);
    HistoryAnswer History(std::string_view query, std::int64_t utcSeconds, std::int64_t deadlineMs);
    // The first page a source draws or points to.
    PageAnswer Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                    std::int64_t deadlineMs);
    std::string Status() const;

private:
    // Asks every source in turn; false when `atOnce` and a source would have to call.
    bool AskAll(const std::vector<std::string>& symbols, const std::vector<std::string>& tags,
                std::int64_t now, std::int64_t deadlineMs, bool atOnce, QuoteAnswers& answers);
    ChainReply Lines(const std::vector<std::string>& symbols, const std::vector<std::string>& tags,
                     std::int64_t now, QuoteAnswers& answers);

    std::vector<std::unique_ptr<QuoteSource>> sources_;
};

}  // namespace quotes
