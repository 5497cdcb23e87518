// The quote replies of the current second, kept for requests asked again within it. The
// simulated market's reply is a function of the request's target and the second alone, so a
// kept reply is exactly the one Respond would give; a live source's, answered from its cache,
// is at most that second older than the cache. Only replies worked out on the loop are kept,
// and a reply only when its target is asked a second time in the second: copying every reply
// costs more than most are ever asked again. Many viewers of one portfolio refresh with the same
// request. Each event loop has its own, so no lock is taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "http/reply.h"

namespace quotes {

class ReplyMemo {
public:
    static constexpr std::size_t kEntries = 32;
    static constexpr std::size_t kBytes = 1 << 20;
    static constexpr std::size_t kSeen = 256;  // targets asked once, remembered by their hash

    // The reply kept for `target` in `second`, or null.
    const Reply* Find(std::string_view target, std::int64_t second) const;
    // Keeps `reply` when `target` was asked before in `second`; a new second forgets the last
    // one's, and a full memo starts again.
    void Keep(std::string_view target, std::int64_t second, const Reply& reply);

private:
    void Start(std::int64_t second);

    std::int64_t second_ = 0;
    std::vector<std::size_t> seen_;
    std::vector<std::pair<std::string, Reply>> entries_;
    std::size_t bytes_ = 0;
};

}  // namespace quotes
