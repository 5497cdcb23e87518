// A live quote as a reply line in the requested tags, in the forms of the simulated market's
// lines (number_text.h), so a client cannot tell the two apart.
#pragma once

#include <string>
#include <vector>

#include "relay/live_quote.h"

namespace quotes {

// `symbol` is the symbol as requested: the reply echoes it.
std::string FormatLiveLine(const std::string& symbol, const LiveQuote& quote,
                           const std::vector<std::string>& tags);

}  // namespace quotes
