#include "sim/simulated_source.h"

#include "sim/history.h"
#include "sim/instruments.h"
#include "sim/pages.h"
#include "sim/simulated_lines.h"

namespace quotes {

void SimulatedSource::Answer(const std::vector<std::string>& symbols,
                             const std::vector<std::string>& tags, std::int64_t utcSeconds,
                             Freshness, std::int64_t, QuoteAnswers& answers) {
    const TagList resolved = ResolveTags(tags);
    answers.Reserve(answers.TextSize() + symbols.size() * TypicalLineSize(resolved));
    for (std::size_t i = 0; i < symbols.size() && i < answers.size(); ++i) {
        const Instrument* instrument = LookupInstrument(symbols[i]);
        if (!instrument) {
            answers.SetUnknown(i);
            continue;
        }
        answers.SetQuote(i, [&](std::string& out) {
            AppendInstrumentLine(out, symbols[i], *instrument, resolved, utcSeconds);
        });
    }
}

HistoryAnswer SimulatedSource::History(std::string_view query, std::int64_t utcSeconds,
                                       std::int64_t) {
    auto table = HistoryTable(query, utcSeconds);
    if (!table) return {AnswerKind::unknown, {}};
    return {AnswerKind::quote, std::move(*table)};
}

PageAnswer SimulatedSource::Page(PageKind page, std::string_view symbol, std::int64_t now,
                                 std::int64_t) {
    PageAnswer answer;
    const std::string name(symbol);
    const bool known = page == PageKind::overview || FindInstrument(name);
    answer.kind = known ? AnswerKind::quote : AnswerKind::unknown;
    switch (page) {
        case PageKind::chart: answer.html = ChartPage(name, now); break;
        case PageKind::news: answer.html = NewsPage(name, now); break;
        case PageKind::overview: answer.html = OverviewPage(now); break;
    }
    return answer;
}

void SimulatedSource::Status(std::string& out) const {
    out += "simulated: ok, offline\n";
}

}  // namespace quotes
