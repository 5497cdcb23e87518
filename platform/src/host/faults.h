// The device's fault switches, read by the file and memory calls and set by the tests
// (platform/testing/faults.h). The program itself never sets them.
#pragma once

#include <cstddef>

namespace platform::detail {

// Calls that tests can make fail, for failures a real device seldom shows.
enum class FailingCall { internetOpen, internetConnect, getFileSize, rename, count };

struct FaultSwitches {
    long long writeBudget = -1;  // bytes still writable; negative: no limit
    bool allocationFails = false;
    bool callFails[static_cast<int>(FailingCall::count)] = {};
};

FaultSwitches& Faults();

// False when a write of `bytes` must fail as on a full disk; otherwise takes them from the
// budget.
bool TakeWriteBudget(std::size_t bytes);
bool AllocationFails();
bool CallFails(FailingCall call);

}  // namespace platform::detail
