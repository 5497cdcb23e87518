#include "platform/testing/faults.h"

#include "host/faults.h"
#include "wininet/http_timeouts.h"

namespace platform::testing {

void SetWriteBudget(long long bytes) {
    detail::Faults().writeBudget = bytes;
}

void SetAllocationFailure(bool fail) {
    detail::Faults().allocationFails = fail;
}

namespace {

detail::FailingCall DeviceCall(FailingCall call) {
    switch (call) {
        case FailingCall::internetOpen: return detail::FailingCall::internetOpen;
        case FailingCall::internetConnect: return detail::FailingCall::internetConnect;
        case FailingCall::getFileSize: return detail::FailingCall::getFileSize;
        case FailingCall::rename: return detail::FailingCall::rename;
    }
    return detail::FailingCall::count;
}

}  // namespace

void SetCallFailure(FailingCall call, bool fail) {
    const int index = static_cast<int>(DeviceCall(call));
    if (index < static_cast<int>(detail::FailingCall::count))
        detail::Faults().callFails[index] = fail;
}

void SetInternetTimeouts(long connectMs, long idleSeconds, long totalMs) {
    detail::SetHttpTimeouts({connectMs, idleSeconds, totalMs});
}

void ClearFaults() {
    detail::Faults() = {};
    detail::SetHttpTimeouts({});
}

}  // namespace platform::testing
