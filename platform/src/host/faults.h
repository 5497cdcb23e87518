// The device's fault switches, read by the file and memory calls.
#pragma once

#include <cstddef>

namespace platform::detail {

// False when a write of `bytes` must fail as on a full disk; otherwise takes them from the
// budget.
bool TakeWriteBudget(std::size_t bytes);
bool AllocationFails();

}  // namespace platform::detail
