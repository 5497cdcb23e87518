#include "sim/simulated_lines.h"

#include "sim/instruments.h"
#include "sim/simulated_values.h"
#include "sim/simulation.h"

namespace quotes {

void AppendSimulatedLine(std::string& out, const std::string& symbol, const TagList& tags,
                         std::int64_t utcSeconds) {
    const Instrument* instrument = LookupInstrument(symbol);
    if (!instrument) {
        AppendUnknownLine(out, symbol, tags);
        return;
    }
    AppendInstrumentLine(out, symbol, *instrument, tags, utcSeconds);
}

void AppendInstrumentLine(std::string& out, std::string_view symbol, const Instrument& instrument,
                          const TagList& tags, std::int64_t utcSeconds) {
    const Quote quote = SimulateQuote(instrument, utcSeconds);
    AppendQuoteLine(out, symbol, SimulatedValues(instrument, quote), tags);
}

std::size_t TypicalLineSize(const TagList& tags) {
    return 40 + 12 * tags.size();
}

std::string FormatQuoteReply(const std::vector<std::string>& symbols,
                             const std::vector<std::string>& tags, std::int64_t utcSeconds) {
    const TagList resolved = ResolveTags(tags);
    std::string body;
    body.reserve(symbols.size() * (TypicalLineSize(resolved) + 2));
    for (const std::string& symbol : symbols) {
        AppendSimulatedLine(body, symbol, resolved, utcSeconds);
        body += "\r\n";
    }
    return body;
}

std::string FormatQuoteLine(const std::string& symbol, const std::vector<std::string>& tags,
                            std::int64_t utcSeconds) {
    std::string line;
    AppendSimulatedLine(line, symbol, ResolveTags(tags), utcSeconds);
    return line;
}

}  // namespace quotes
