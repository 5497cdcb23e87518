// A clock of steady milliseconds, handed in where time is measured, so that tests count calls,
// ages and deadlines on a clock of their own.
#pragma once

#include <cstdint>
#include <functional>

namespace quotes {

using MilliClock = std::function<std::int64_t()>;
MilliClock SteadyMilliClock();
std::int64_t SteadyMilliseconds();

}  // namespace quotes
