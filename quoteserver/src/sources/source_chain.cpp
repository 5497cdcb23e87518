#include "sources/source_chain.h"

#include "protocol/quote_line.h"
#include "sim/simulated_source.h"

namespace quotes {
namespace {

// Asks `source` for the symbols still without a quote; a quote fills its place, an "unknown" is
// remembered and the symbol stays open for the next source.
void AskSource(QuoteSource& source, const std::vector<std::string>& symbols,
               const std::vector<std::string>& tags, std::int64_t now, Freshness freshness,
               std::vector<SymbolAnswer>& answers, std::vector<bool>& unknown) {
    std::vector<std::size_t> open;
    std::vector<std::string> asked;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (answers[i].kind == AnswerKind::quote) continue;
        open.push_back(i);
        asked.push_back(symbols[i]);
    }
    if (asked.empty()) return;
    std::vector<SymbolAnswer> got(asked.size());
    source.Answer(asked, tags, now, freshness, got);
    for (std::size_t k = 0; k < open.size(); ++k) {
        if (got[k].kind == AnswerKind::quote) answers[open[k]] = std::move(got[k]);
        if (got[k].kind == AnswerKind::unknown) unknown[open[k]] = true;
    }
}

}  // namespace

SourceChain::SourceChain(std::vector<std::unique_ptr<QuoteSource>> sources)
    : sources_(std::move(sources)) {}

SourceChain SourceChain::Simulated() {
    std::vector<std::unique_ptr<QuoteSource>> sources;
    sources.push_back(std::make_unique<SimulatedSource>());
    return SourceChain(std::move(sources));
}

ChainReply SourceChain::Quotes(const std::vector<std::string>& symbols,
                               const std::vector<std::string>& tags, std::int64_t now) {
    std::vector<SymbolAnswer> answers(symbols.size());
    std::vector<bool> unknown(symbols.size(), false);
    for (auto& source : sources_) {
        AskSource(*source, symbols, tags, now, Freshness::fresh, answers, unknown);
    }
    bool open = false;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        open = open || (answers[i].kind != AnswerKind::quote && !unknown[i]);
    }
    for (auto& source : sources_) {
        if (!open) break;
        AskSource(*source, symbols, tags, now, Freshness::cachedOnly, answers, unknown);
    }
    ChainReply reply;
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

HistoryAnswer SourceChain::History(std::string_view query, std::int64_t now) {
    bool unknown = false;
    for (auto& source : sources_) {
        HistoryAnswer answer = source->History(query, now);
        if (answer.kind == AnswerKind::quote) return answer;
        unknown = unknown || answer.kind == AnswerKind::unknown;
    }
    return {unknown ? AnswerKind::unknown : AnswerKind::none, {}};
}

std::optional<std::string> SourceChain::PageAddress(std::string_view page,
                                                    std::string_view symbol) const {
    if (sources_.empty()) return std::nullopt;
    return sources_.front()->PageAddress(page, symbol);
}

std::string SourceChain::Status() const {
    std::string out;
    for (const auto& source : sources_) source->Status(out);
    return out;
}

}  // namespace quotes
