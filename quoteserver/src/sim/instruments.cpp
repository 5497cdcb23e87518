#include "sim/instruments.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace quotes {
namespace {

struct Listing {
    std::string_view suffix;
    InstrumentKind kind;
    std::vector<std::string_view> entries;
};

#define U(suffix, ...) Listing{suffix, InstrumentKind::stock, {__VA_ARGS__}},
#define X(suffix, kind, ...) Listing{suffix, kind, {__VA_ARGS__}},
const std::vector<Listing>& Listings() {
    static const std::vector<Listing> listings = {
#include "sim/universe.inc"
    };
    return listings;
}
#undef U
#undef X

struct Universe {
    std::vector<Instrument> instruments;
    std::unordered_map<std::string_view, int> bySymbol;
};

Instrument MakeInstrument(const Listing& listing, std::string_view entry) {
    const std::size_t bar1 = entry.find('|');
    const std::size_t bar2 = entry.find('|', bar1 + 1);
    Instrument instrument;
    instrument.symbol = std::string(entry.substr(0, bar1));
    // Listed stocks carry their market's suffix; indices and currencies carry their own marks.
    if (listing.kind == InstrumentKind::stock && !listing.suffix.empty()) {
        instrument.symbol += '.';
        instrument.symbol += listing.suffix;
    }
    instrument.name = std::string(entry.substr(bar1 + 1, bar2 - bar1 - 1));
    instrument.market = FindMarket(listing.suffix);
    instrument.kind = listing.kind;
    instrument.basePrice =
        bar2 == std::string_view::npos ? 0 : std::stod(std::string(entry.substr(bar2 + 1)));
    return instrument;
}

const Universe& TheUniverse() {
    static const Universe universe = [] {
        Universe u;
        for (const Listing& listing : Listings()) {
            for (std::string_view entry : listing.entries) {
                u.instruments.push_back(MakeInstrument(listing, entry));
            }
        }
        for (int i = 0; i < static_cast<int>(u.instruments.size()); ++i) {
            u.bySymbol.emplace(u.instruments[i].symbol, i);
        }
        return u;
    }();
    return universe;
}

}  // namespace

const Instrument* FindInstrument(std::string_view symbol) {
    const Universe& universe = TheUniverse();
    const auto it = universe.bySymbol.find(symbol);
    return it == universe.bySymbol.end() ? nullptr : &universe.instruments[it->second];
}

const Instrument* LookupInstrument(std::string_view symbol) {
    if (const Instrument* exact = FindInstrument(symbol)) return exact;
    std::string upper(symbol);
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return FindInstrument(upper);
}

const Instrument* Instruments(int& count) {
    const Universe& universe = TheUniverse();
    count = static_cast<int>(universe.instruments.size());
    return universe.instruments.data();
}

int InstrumentIndex(const Instrument& instrument) {
    const std::vector<Instrument>& all = TheUniverse().instruments;
    const std::ptrdiff_t index = &instrument - all.data();
    return index >= 0 && index < static_cast<std::ptrdiff_t>(all.size()) ? static_cast<int>(index)
                                                                         : -1;
}

}  // namespace quotes
