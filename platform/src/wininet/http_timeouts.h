// How long the HTTP client waits: for a connection, for the next data of a reply, and for a
// whole request from its send to the end of its body (a server that drips a byte now and then
// never trips the idle limit, and would hold the one thread for days).
// Fixed for programs; the tests shorten them (platform/testing/faults.h) to try a stalled
// server without waiting for the real limits.
#pragma once

namespace platform::detail {

struct HttpTimeouts {
    long connectMs = 15000;
    long idleSeconds = 20;
    long totalMs = 60000;
};

HttpTimeouts CurrentHttpTimeouts();
void SetHttpTimeouts(const HttpTimeouts& timeouts);

}  // namespace platform::detail
