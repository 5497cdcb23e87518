#include "host/faults.h"

namespace platform::detail {

FaultSwitches& Faults() {
    static FaultSwitches switches;
    return switches;
}

bool TakeWriteBudget(std::size_t bytes) {
    FaultSwitches& f = Faults();
    if (f.writeBudget < 0) return true;
    if (static_cast<long long>(bytes) > f.writeBudget) {
        f.writeBudget = 0;
        return false;
    }
    f.writeBudget -= static_cast<long long>(bytes);
    return true;
}

bool AllocationFails() {
    return Faults().allocationFails;
}

bool CallFails(FailingCall call) {
    return Faults().callFails[static_cast<int>(call)];
}

}  // namespace platform::detail
