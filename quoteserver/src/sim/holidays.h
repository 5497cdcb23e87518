// The weekdays on which the simulated exchanges stay closed: the US market's holidays with
// their weekend rules, and each other market's main fixed holidays (and Easter, where it
// closes for it). No session trades on them, so no quote or history row carries their dates.
#pragma once

#include <cstdint>

#include "sim/markets.h"

namespace quotes {

// True when `day` (days since 1970-01-01) is one of the market's holidays.
bool IsHoliday(const Market& market, std::int64_t day);
// How many of the market's holidays fall on its trading weekdays before `day`.
std::int64_t HolidaysBefore(const Market& market, std::int64_t day);

}  // namespace quotes
