// Faults that tests can make the device show: a full disk, memory that cannot be had.
#pragma once

#include <cstddef>

namespace platform::testing {

// After `bytes` more bytes have been written through WriteFile, every write fails as on a
// full disk (a write that crosses the budget writes nothing). A negative budget disables it.
void SetWriteBudget(long long bytes);
// While set, LocalAlloc returns null.
void SetAllocationFailure(bool fail);
// Both faults off.
void ClearFaults();

}  // namespace platform::testing
