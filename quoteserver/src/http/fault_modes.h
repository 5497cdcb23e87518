// The fault modes that test clients ask the service for, and what they do to a quote reply's
// status and body. How a reply is delivered (delayed, cut, in pieces) is the server's part.
#pragma once

#include "http/reply.h"

namespace quotes {

struct FaultModes {
    int delayMs = 0;            // wait before answering
    bool closeMidBody = false;  // announce the whole body, send half, close
    bool garbage = false;       // a body of random bytes
    bool oversize = false;      // a body of more than 16 KiB
    bool status500 = false;
    bool status999 = false;  // the historical overload page
    bool trickle = false;    // the body in small chunks with pauses
};

// Pieces of a trickled body, and the pause before each.
inline constexpr std::size_t kTrickleChunk = 64;
inline constexpr int kTricklePauseMs = 30;

// Applies the modes that change a quote reply's status or body.
void Disturb(const FaultModes& faults, Reply& reply);

}  // namespace quotes
