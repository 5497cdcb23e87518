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
    std::size_t begin = 0, end = 0;  // a quote's line, without its CR LF, in the answers' text
};

// What a source answered for each symbol it was asked, every answer `none` at first. The lines
// of the quotes are written one after another into one text, each followed by its CR LF, so
// that a request's lines cost no allocation each and, answered in order, are the reply's body.
class QuoteAnswers {
public:
    explicit QuoteAnswers(std::size_t count) : each_(count) {}
    void Reserve(std::size_t textBytes) { text_.reserve(textBytes); }
    std::size_t size() const { return each_.size(); }
    AnswerKind Kind(std::size_t i) const { return each_[i].kind; }
    // Symbol i's line, without its CR LF.
    std::string_view Line(std::size_t i) const {
        return std::string_view(text_).substr(each_[i].begin, each_[i].end - each_[i].begin);
    }
    void SetUnknown(std::size_t i) { each_[i].kind = AnswerKind::unknown; }
    // Makes symbol i's answer the line that `write(std::string&)` appends.
    template <typename Write>
    void SetQuote(std::size_t i, Write&& write) {
        each_[i].begin = text_.size();
        write(text_);
        each_[i].kind = AnswerKind::quote;
        each_[i].end = text_.size();
        text_ += "\r\n";
    }
    std::size_t TextSize() const { return text_.size(); }
    std::size_t Count(AnswerKind kind) const {
        std::size_t n = 0;
        for (const SymbolAnswer& answer : each_) n += answer.kind == kind;
        return n;
    }
    // The lines of the quotes from symbol i on that follow one another in the text, CR LFs and
    // all; `count` says how many (0 when i is no quote).
    std::string_view Run(std::size_t i, std::size_t& count) const {
        count = 0;
        if (each_[i].kind != AnswerKind::quote) return {};
        std::size_t end = each_[i].begin;
        while (i + count < each_.size() && each_[i + count].kind == AnswerKind::quote &&
               each_[i + count].begin == end) {
            end = each_[i + count].end + 2;
            ++count;
        }
        return std::string_view(text_).substr(each_[i].begin, end - each_[i].begin);
    }
    // The whole text, when it is one run of every symbol's line: the reply's body. The answers
    // keep no text.
    std::string TakeText() { return std::move(text_); }

private:
    std::vector<SymbolAnswer> each_;
    std::string text_;
};

// A history table (table.csv) or why there is none.
struct HistoryAnswer {
    AnswerKind kind = AnswerKind::none;
    std::string table;
};

enum class PageKind : std::uint8_t { chart, news, overview };

// A page of the browser as the source draws it; with no answer (`none`), `html` may say why.
struct PageAnswer {
    AnswerKind kind = AnswerKind::none;
    std::string html;
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
    // Answers symbols[i] into answers' i (both the same size).
    // `deadlineMs` (steady milliseconds) is when the request's reply must be out: no call or
    // wait of the source runs past it.
    virtual void Answer(const std::vector<std::string>& symbols,
                        const std::vector<std::string>& tags, std::int64_t utcSeconds,
                        Freshness freshness, std::int64_t deadlineMs, QuoteAnswers& answers) = 0;
    virtual HistoryAnswer History(std::string_view query, std::int64_t utcSeconds,
                                  std::int64_t deadlineMs) = 0;
    // The chart or news page of a symbol, or the market overview ("" for its symbol), by the
    // request's deadline.
    virtual PageAnswer Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                            std::int64_t deadlineMs) = 0;
    // A few lines for the status page: state, last error, calls, cache.
    virtual void Status(std::string& out) const = 0;
};

}  // namespace quotes
