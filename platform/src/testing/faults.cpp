#include "platform/testing/faults.h"

#include "host/faults.h"

namespace platform::testing {

void SetWriteBudget(long long bytes) {
    detail::Faults().writeBudget = bytes;
}

void SetAllocationFailure(bool fail) {
    detail::Faults().allocationFails = fail;
}

void ClearFaults() {
    detail::Faults() = {};
}

}  // namespace platform::testing
