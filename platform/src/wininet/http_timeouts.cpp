#include "wininet/http_timeouts.h"

namespace platform::detail {
namespace {
HttpTimeouts current;
}

HttpTimeouts CurrentHttpTimeouts() {
    return current;
}

void SetHttpTimeouts(const HttpTimeouts& timeouts) {
    current = timeouts;
}

}  // namespace platform::detail
