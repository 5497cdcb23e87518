// What the engine asks of the service behind it: a reply for each request. A reply that needs
// no network call is worked out on the connection's event loop; one that must wait on a quote
// source is worked out on the engine's pool, so that no loop ever waits on an upstream.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "http/reply.h"

namespace quotes {

// A request's budget: a whole reply must be out within this of its arrival, under the 20 s
// after which the viewer gives up on a reply.
inline constexpr std::int64_t kRequestBudgetMs = 15000;

struct Request {
    std::string_view method;
    std::string_view target;  // the raw request target, in origin or absolute form
    std::int64_t utcSeconds = 0;
    // When the reply must be out: steady milliseconds (common/milli_clock.h). Every source,
    // call and wait below the request spends from this one deadline.
    std::int64_t deadlineMs = 0;
};

class RequestHandler {
public:
    virtual ~RequestHandler() = default;
    // Whether some replies wait on the network (the engine then keeps a pool for them).
    virtual bool Blocks() const = 0;
    // The reply when it needs no network call; nothing when it must wait on one.
    virtual std::optional<Reply> AnswerAtOnce(const Request& request) = 0;
    // The reply, waiting on the network until the request's deadline at most.
    virtual Reply Answer(const Request& request) = 0;
};

}  // namespace quotes
