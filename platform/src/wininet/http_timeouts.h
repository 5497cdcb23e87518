// How long the HTTP client waits: for a connection, and for the next data of a reply.
// Fixed for programs; the tests shorten them (platform/testing/faults.h) to try a stalled
// server without waiting for the real limits.
#pragma once

namespace platform::detail {

struct HttpTimeouts {
    long connectMs = 15000;
    long idleSeconds = 20;
};

HttpTimeouts CurrentHttpTimeouts();
void SetHttpTimeouts(const HttpTimeouts& timeouts);

}  // namespace platform::detail
