// Where the service's quotes come from: one small interface that the simulated market and each
// live relay source implement. A request's symbols go down a chain of sources (source_chain.h);
// each source answers the symbols it can and leaves the others to the next.
#pragma once

#include <cstdint>
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

enum class PageKind : std::uint8_t { chart, news, overview };

// A page of the browser: drawn (`html`), or where the source keeps its own (`location`).
struct PageAnswer {
    AnswerKind kind = AnswerKind::none;
    std::string html;
    std::string location;
};

// What a source may spend on one request.
enum class Freshness : std::uint8_t {
    fresh,       // fresh answers, upstream calls allowed until the request's deadline
    held,        // only what it holds that is still fresh: no call, no wait
    cachedOnly,  // only what it holds, however old
};

class QuoteSource {
public:
    virtual ~QuoteSource() = default;
    virtual std::string_view Name() const = 0;
    // Whether answering fresh may wait on the network.
    virtual bool Blocks() const = 0;
    // Answers symbols[i] into answers[i] (both the same size, every answer `none` on entry).
    // `deadlineMs` (steady milliseconds) is when the request's reply must be out: no call or
    // wait of the source runs past it.
    virtual void Answer(const std::vector<std::string>& symbols,
                        const std::vector<std::string>& tags, std::int64_t utcSeconds,
                        Freshness freshness, std::int64_t deadlineMs,
                        std::vector<SymbolAnswer>& answers) = 0;
    virtual HistoryAnswer History(std::string_view query, std::int64_t utcSeconds,
                                  std::int64_t deadlineMs) = 0;
    // The chart or news page of a symbol, or the market overview ("" for its symbol).
    virtual PageAnswer Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds) = 0;
    // A few lines for the status page: state, last error, calls, cache.
    virtual void Status(std::string& out) const = 0;
};

}  // namespace quotes
