#include "sources/source_chain.h"

#include <algorithm>

#include "protocol/quote_line.h"

namespace quotes {
namespace {

// Asks `source` for the symbols still without a quote; a quote fills its place, an "unknown" is
// remembered and the symbol stays open for the next source. Returns how many it left `none`.
std::size_t AskSource(QuoteSource& source, const std::vector<std::string>& symbols,
                      const std::vector<std::string>& tags, std::int64_t now, Freshness freshness,
                      std::int64_t deadlineMs, std::vector<SymbolAnswer>& answers,
                      std::vector<bool>& unknown) {
    std::vector<std::size_t> open;
    std::vector<std::string> asked;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (answers[i].kind == AnswerKind::quote) continue;
        open.push_back(i);
        asked.push_back(symbols[i]);
    }
    if (asked.empty()) return 0;
    std::vector<SymbolAnswer> got(asked.size());
    source.Answer(asked, tags, now, freshness, deadlineMs, got);
    std::size_t none = 0;
    for (std::size_t k = 0; k < open.size(); ++k) {
        if (got[k].kind == AnswerKind::quote) answers[open[k]] = std::move(got[k]);
        if (got[k].kind == AnswerKind::unknown) unknown[open[k]] = true;
        if (got[k].kind == AnswerKind::none) ++none;
    }
    return none;
}

}  // namespace

SourceChain::SourceChain(std::vector<std::unique_ptr<QuoteSource>> sources)
    : sources_(std::move(sources)) {}

bool SourceChain::Blocks() const {
    return std::any_of(sources_.begin(), sources_.end(), [](const auto& s) { return s->Blocks(); });
}

bool SourceChain::AskAll(const std::vector<std::string>& symbols,
                         const std::vector<std::string>& tags, std::int64_t now,
                         std::int64_t deadlineMs, bool atOnce, std::vector<SymbolAnswer>& answers,
                         std::vector<bool>& unknown) {
    for (auto& source : sources_) {
        const bool held = atOnce && source->Blocks();
        const Freshness freshness = held ? Freshness::held : Freshness::fresh;
        const std::size_t none =
            AskSource(*source, symbols, tags, now, freshness, deadlineMs, answers, unknown);
        // What a fresh ask would have called for; the request must wait for it.
        if (held && none > 0) return false;
    }
    return true;
}

ChainReply SourceChain::Lines(const std::vector<std::string>& symbols,
                              const std::vector<std::string>& tags, std::int64_t now,
                              std::vector<SymbolAnswer>& answers, std::vector<bool>& unknown) {
    bool open = false;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        open = open || (answers[i].kind != AnswerKind::quote && !unknown[i]);
    }
    for (auto& source : sources_) {
        if (!open) break;
        AskSource(*source, symbols, tags, now, Freshness::cachedOnly, 0, answers, unknown);
    }
    ChainReply reply;
    std::size_t size = 0;
    for (const SymbolAnswer& answer : answers) size += answer.line.size() + 2;
    reply.body.reserve(size);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (answers[i].kind == AnswerKind::quote) {
            reply.body += answers[i].line;
        } else if (unknown[i]) {
            reply.body += FormatUnknownLine(symbols[i], tags);
        } else {
            return {};
        }
        reply.body += "\r\n";
    }
    reply.complete = true;
    return reply;
}

ChainReply SourceChain::Quotes(const std::vector<std::string>& symbols,
                               const std::vector<std::string>& tags, std::int64_t now,
                               std::int64_t deadlineMs) {
    std::vector<SymbolAnswer> answers(symbols.size());
    std::vector<bool> unknown(symbols.size(), false);
    AskAll(symbols, tags, now, deadlineMs, false, answers, unknown);
    return Lines(symbols, tags, now, answers, unknown);
}

std::optional<ChainReply> SourceChain::QuotesAtOnce(const std::vector<std::string>& symbols,
                                                    const std::vector<std::string>& tags,
                                                    std::int64_t now) {
    std::vector<SymbolAnswer> answers(symbols.size());
    std::vector<bool> unknown(symbols.size(), false);
    if (!AskAll(symbols, tags, now, 0, true, answers, unknown)) return std::nullopt;
    return Lines(symbols, tags, now, answers, unknown);
}

HistoryAnswer SourceChain::History(std::string_view query, std::int64_t now,
                                   std::int64_t deadlineMs) {
    bool unknown = false;
    for (auto& source : sources_) {
        HistoryAnswer answer = source->History(query, now, deadlineMs);
        if (answer.kind == AnswerKind::quote) return answer;
        unknown = unknown || answer.kind == AnswerKind::unknown;
    }
    return {unknown ? AnswerKind::unknown : AnswerKind::none, {}};
}

PageAnswer SourceChain::Page(PageKind page, std::string_view symbol, std::int64_t now) {
    for (auto& source : sources_) {
        PageAnswer answer = source->Page(page, symbol, now);
        if (answer.kind != AnswerKind::none) return answer;
    }
    return {};
}

std::string SourceChain::Status() const {
    std::string out;
    for (const auto& source : sources_) source->Status(out);
    return out;
}

}  // namespace quotes
