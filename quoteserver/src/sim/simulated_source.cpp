#include "sim/simulated_source.h"

#include "protocol/quote_format.h"
#include "sim/history.h"
#include "sim/instruments.h"

namespace quotes {

void SimulatedSource::Answer(const std::vector<std::string>& symbols,
                             const std::vector<std::string>& tags, std::int64_t utcSeconds,
                             Freshness, std::vector<SymbolAnswer>& answers) {
    for (std::size_t i = 0; i < symbols.size() && i < answers.size(); ++i) {
        if (!LookupInstrument(symbols[i])) {
            answers[i].kind = AnswerKind::unknown;
            continue;
        }
        answers[i].kind = AnswerKind::quote;
        answers[i].line = FormatQuoteLine(symbols[i], tags, utcSeconds);
    }
}

HistoryAnswer SimulatedSource::History(std::string_view query, std::int64_t utcSeconds) {
    auto table = HistoryTable(query, utcSeconds);
    if (!table) return {AnswerKind::unknown, {}};
    return {AnswerKind::quote, std::move(*table)};
}

void SimulatedSource::Status(std::string& out) const {
    out += "simulated: ok, offline\n";
}

}  // namespace quotes
