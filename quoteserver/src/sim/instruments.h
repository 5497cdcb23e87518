// The simulated market's universe: every instrument the service quotes, on every market.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/markets.h"

namespace quotes {

enum class InstrumentKind { stock, index, currency };

struct Instrument {
    std::string symbol;  // as requested: "MSFT", "RY.TO", "^GSPC", "EURUSD=X"
    std::string name;
    const Market* market;
    InstrumentKind kind;
    double basePrice;  // 0: derived from the symbol
};

// The instrument of a requested symbol (exact, case-sensitive), or null.
const Instrument* FindInstrument(std::string_view symbol);
// The instrument as the service looks symbols up: exactly, then in upper case (the service,
// like the one it stands in for, does not mind the case of what it is asked for).
const Instrument* LookupInstrument(std::string_view symbol);
const Instrument* Instruments(int& count);
// Where `instrument` stands in Instruments(), or -1 for one from outside the universe (tests).
int InstrumentIndex(const Instrument& instrument);

// The calling thread's own `Slot` of `instrument` (one a type, made on first use), or null for
// an instrument from outside the universe.
template <typename Slot>
Slot* ThreadSlotOf(const Instrument& instrument) {
    thread_local std::vector<Slot> slots;
    const int index = InstrumentIndex(instrument);
    if (index < 0) return nullptr;
    if (slots.empty()) {
        int count = 0;
        Instruments(count);
        slots.resize(static_cast<std::size_t>(count));
    }
    return &slots[static_cast<std::size_t>(index)];
}

}  // namespace quotes
