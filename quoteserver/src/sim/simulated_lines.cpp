#include "sim/simulated_lines.h"

#include <limits>

#include "sim/instruments.h"
#include "sim/simulated_values.h"

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

// Each thread keeps the line it last wrote of each instrument: within a second, every request
// for the same tags and spelling of the symbol gets that line again. Viewers all ask for the
// same tags, so a crowd refreshing in the same second writes each instrument's line once.
void AppendInstrumentLine(std::string& out, std::string_view symbol, const Instrument& instrument,
                          const TagList& tags, std::int64_t utcSeconds) {
    struct Kept {
        std::int64_t second = std::numeric_limits<std::int64_t>::min();
        TagList tags;
        std::string symbol;
        std::string line;
    };
    Kept* slot = ThreadSlotOf<Kept>(instrument);
    if (!slot) {
        AppendQuoteLine(out, symbol, SimulatedValuesAt(instrument, utcSeconds), tags);
        return;
    }
    if (slot->second != utcSeconds || slot->tags != tags || slot->symbol != symbol) {
        slot->line.clear();
        AppendQuoteLine(slot->line, symbol, SimulatedValuesAt(instrument, utcSeconds), tags);
        slot->second = utcSeconds;
        slot->tags = tags;
        slot->symbol.assign(symbol);
    }
    out += slot->line;
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
