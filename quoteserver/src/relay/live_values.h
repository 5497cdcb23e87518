// A live source's quote as the protocol's values: its reported money made the line's unit
// (pence on a GBp line, as the simulated market gives it), its instants the exchange's date
// and time.
#pragma once

#include "protocol/quote_values.h"
#include "relay/live_quote.h"

namespace quotes {

// Views of `quote`, which must outlive the values.
QuoteValues LiveValues(const LiveQuote& quote);

}  // namespace quotes
