// Faults that tests can make the device show: a full disk, memory that cannot be had, calls
// that fail, a network that gives up sooner.
#pragma once

#include <cstddef>

namespace platform::testing {

// After `bytes` more bytes have been written through WriteFile, every write fails as on a
// full disk (a write that crosses the budget writes nothing). A negative budget disables it.
void SetWriteBudget(long long bytes);
// While set, LocalAlloc returns null.
void SetAllocationFailure(bool fail);
// While set, the call fails as it does when the device cannot do it.
enum class FailingCall { internetOpen, internetConnect, getFileSize, rename };
void SetCallFailure(FailingCall call, bool fail);
// How long the HTTP client waits for a connection, for a reply's next data and for a whole
// request (15 s, 20 s and 60 s unless set); shorter in the tests that try a server that never
// answers or one that drips.
void SetInternetTimeouts(long connectMs, long idleSeconds, long totalMs = 60000);
// Every fault off, the time-outs as they were.
void ClearFaults();

}  // namespace platform::testing
