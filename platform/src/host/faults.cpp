#include "host/faults.h"

#include "platform/testing/faults.h"

namespace platform {
namespace {
long long writeBudget = -1;
bool allocationFails = false;
}  // namespace

namespace testing {
void SetWriteBudget(long long bytes) {
    writeBudget = bytes;
}
void SetAllocationFailure(bool fail) {
    allocationFails = fail;
}
void ClearFaults() {
    writeBudget = -1;
    allocationFails = false;
}
}  // namespace testing

namespace detail {
bool TakeWriteBudget(std::size_t bytes) {
    if (writeBudget < 0) return true;
    if (static_cast<long long>(bytes) > writeBudget) {
        writeBudget = 0;
        return false;
    }
    writeBudget -= static_cast<long long>(bytes);
    return true;
}
bool AllocationFails() {
    return allocationFails;
}
}  // namespace detail

}  // namespace platform
