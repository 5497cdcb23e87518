#include "sources/source_chain.h"

#include <algorithm>

#include "protocol/quote_line.h"

namespace quotes {
namespace {

// Asks `source` for the symbols still without a quote; a quote fills its place, an "unknown" is
// kept until a later source quotes the symbol, which stays open for it. Returns how many the
// source left `none`.
std::size_t AskSource(QuoteSource& source, const std::vector<std::string>& symbols,
                      const std::vector<std::string>& tags, std::int64_t now, Freshness freshness,
                      std::int64_t deadlineMs, QuoteAnswers& answers) {
    // Nothing answered yet, the common case: the source writes straight into the answers.
    if (answers.Count(AnswerKind::none) == answers.size()) {
        source.Answer(symbols, tags, now, freshness, deadlineMs, answers);
        return answers.Count(AnswerKind::none);
    }
    std::vector<std::size_t> open;
    std::vector<std::string> asked;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (answers.Kind(i) == AnswerKind::quote) continue;
        open.push_back(i);
        asked.push_back(symbols[i]);
    }
    if (asked.empty()) return 0;
    QuoteAnswers got(asked.size());
    source.Answer(asked, tags, now, freshness, deadlineMs, got);
    std::size_t none = 0;
    for (std::size_t k = 0; k < open.size(); ++k) {
        const AnswerKind kind = got.Kind(k);
        if (kind == AnswerKind::quote) {
            answers.SetQuote(open[k], [&](std::string& out) { out += got.Line(k); });
        }
        if (kind == AnswerKind::unknown) answers.SetUnknown(open[k]);
        if (kind == AnswerKind::none) ++none;
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
                         std::int64_t deadlineMs, bool atOnce, QuoteAnswers& answers) {
    for (auto& source : sources_) {
        const bool held = atOnce && source->Blocks();
        const Freshness freshness = held ? Freshness::held : Freshness::fresh;
        const std::size_t none =
            AskSource(*source, symbols, tags, now, freshness, deadlineMs, answers);
        // What a fresh ask would have called for; the request must wait for it.
        if (held && none > 0) return false;
    }
    return true;
}

ChainReply SourceChain::Lines(const std::vector<std::string>& symbols,
                              const std::vector<std::string>& tags, std::int64_t now,
                              QuoteAnswers& answers) {
    for (auto& source : sources_) {
        if (answers.Count(AnswerKind::none) == 0) break;
        AskSource(*source, symbols, tags, now, Freshness::cachedOnly, 0, answers);
    }
    if (answers.Count(AnswerKind::none) > 0) return {};
    ChainReply reply;
    reply.complete = true;
    std::size_t count = 0;
    if (!symbols.empty() && answers.Run(0, count).size() == answers.TextSize() &&
        count == symbols.size()) {
        reply.body = answers.TakeText();
        return reply;
    }
    reply.body.reserve(answers.TextSize() + 2 * symbols.size());
    TagList resolved;  // looked up at the first unknown symbol
    for (std::size_t i = 0; i < symbols.size(); i += std::max<std::size_t>(count, 1)) {
        reply.body += answers.Run(i, count);
        if (count > 0) continue;
        if (resolved.empty()) resolved = ResolveTags(tags);
        AppendUnknownLine(reply.body, symbols[i], resolved);
        reply.body += "\r\n";
    }
    return reply;
}

ChainReply SourceChain::Quotes(const std::vector<std::string>& symbols,
                               const std::vector<std::string>& tags, std::int64_t now,
                               std::int64_t deadlineMs) {
    QuoteAnswers answers(symbols.size());
    AskAll(symbols, tags, now, deadlineMs, false, answers);
    return Lines(symbols, tags, now, answers);
}

std::optional<ChainReply> SourceChain::QuotesAtOnce(const std::vector<std::string>& symbols,
                                                    const std::vector<std::string>& tags,
                                                    std::int64_t now) {
    QuoteAnswers answers(symbols.size());
    if (!AskAll(symbols, tags, now, 0, true, answers)) return std::nullopt;
    return Lines(symbols, tags, now, answers);
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

PageAnswer SourceChain::Page(PageKind page, std::string_view symbol, std::int64_t now,
                             std::int64_t deadlineMs) {
    // A later source may know the symbol, or answer where an earlier one failed; the first
    // source's page saying why it could not is kept for when none answers.
    PageAnswer kept;
    for (auto& source : sources_) {
        PageAnswer answer = source->Page(page, symbol, now, deadlineMs);
        if (answer.kind == AnswerKind::quote) return answer;
        const bool better = answer.kind == AnswerKind::unknown && kept.kind == AnswerKind::none;
        if (better || (kept.html.empty() && kept.kind == answer.kind)) kept = std::move(answer);
    }
    return kept;
}

std::string SourceChain::Status() const {
    std::string out;
    for (const auto& source : sources_) source->Status(out);
    return out;
}

}  // namespace quotes
