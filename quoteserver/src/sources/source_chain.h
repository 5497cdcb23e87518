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
    // The simulated market alone.
    static SourceChain Simulated();

    ChainReply Quotes(const std::vector<std::string>& symbols, const std::vector<std::string>& tags,
                      std::int64_t utcSeconds);
    HistoryAnswer History(std::string_view query, std::int64_t utcSeconds);
    std::optional<std::string> PageAddress(std::string_view page, std::string_view symbol) const;
    std::string Status() const;

private:
    std::vector<std::unique_ptr<QuoteSource>> sources_;
};

}  // namespace quotes
