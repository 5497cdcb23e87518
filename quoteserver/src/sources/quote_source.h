// Where the service's quotes come from: one small interface that the simulated market and each
// live relay source implement. A request's symbols go down a chain of sources (source_chain.h);
// each source answers the symbols it can and leaves the others to the next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quotes {

enum class AnswerKind : std::uint8_t {
    none,     // cannot answer now: down, rate-limited, backing off, no data yet
    unknown,  // the source knows no such symbol
    quote,    // `line` holds the values in the requested tags
};

struct SymbolAnswer {
    AnswerKind kind = AnswerKind::none;
    std::string line;  // without its CR LF
};

// A history table (table.csv) or why there is none.
struct HistoryAnswer {
    AnswerKind kind = AnswerKind::none;
    std::string table;
};

// What a source may spend on one request: fresh answers (upstream calls allowed), or only what
// it already holds, however old.
enum class Freshness : std::uint8_t { fresh, cachedOnly };

class QuoteSource {
public:
    virtual ~QuoteSource() = default;
    virtual std::string_view Name() const = 0;
    // Answers symbols[i] into answers[i] (both the same size, every answer `none` on entry).
    virtual void Answer(const std::vector<std::string>& symbols,
                        const std::vector<std::string>& tags, std::int64_t utcSeconds,
                        Freshness freshness, std::vector<SymbolAnswer>& answers) = 0;
    virtual HistoryAnswer History(std::string_view query, std::int64_t utcSeconds) = 0;
    // Where the chart, news and overview pages of a symbol are ("" for the overview's symbol):
    // nothing when the service draws them itself.
    virtual std::optional<std::string> PageAddress(std::string_view page,
                                                   std::string_view symbol) const = 0;
    // A few lines for the status page: state, last error, calls, cache.
    virtual void Status(std::string& out) const = 0;
};

}  // namespace quotes
