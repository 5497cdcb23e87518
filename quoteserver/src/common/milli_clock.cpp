#include "common/milli_clock.h"

#include <chrono>

namespace quotes {

std::int64_t SteadyMilliseconds() {
    return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
}

MilliClock SteadyMilliClock() {
    return SteadyMilliseconds;
}

}  // namespace quotes
