// A simulated quote as the protocol's values, filled as a live source fills them: what the
// instrument and its market say (name, currency, exchange), the trading figures, and what the
// company reports, in the line's unit.
#pragma once

#include "protocol/quote_values.h"
#include "sim/instruments.h"
#include "sim/simulation.h"

namespace quotes {

// Views of `instrument`, which lives for the run.
QuoteValues SimulatedValues(const Instrument& instrument, const Quote& quote);

}  // namespace quotes
