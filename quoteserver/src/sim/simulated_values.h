// A simulated quote as the protocol's values, filled as a live source fills them: what the
// instrument and its market say (name, currency, exchange), the trading figures, and what the
// company reports, in the line's unit.
#pragma once

#include <cstdint>

#include "protocol/quote_values.h"
#include "sim/instruments.h"
#include "sim/simulation.h"

namespace quotes {

// Views of `instrument`, which lives for the run.
QuoteValues SimulatedValues(const Instrument& instrument, const Quote& quote);

// The same at an instant. The market at a second is the same for every request of that second,
// so each thread keeps every instrument's values of the last second it was asked for; the
// reference holds until this thread's next call.
const QuoteValues& SimulatedValuesAt(const Instrument& instrument, std::int64_t utcSeconds);

}  // namespace quotes
