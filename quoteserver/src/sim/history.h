// Historical prices as the chart service's table.csv gave them (the query: history_query.h).
// The rows are the simulated sessions the quotes come from, newest first, so that a chart and
// a quote agree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/history_query.h"

namespace quotes {

// The table for the query; nothing for a symbol the service does not know.
std::optional<std::string> HistoryTable(std::string_view query, std::int64_t utcSeconds);

}  // namespace quotes
