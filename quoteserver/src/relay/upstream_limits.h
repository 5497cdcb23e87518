// The limits a live source keeps to: a token bucket of calls a minute, and backing off after a
// failure (the source's Retry-After, else 5 s doubling to 5 minutes). Time is a millisecond
// clock handed in, so tests count calls against a clock of their own.
#pragma once

#include <cstdint>
#include <optional>

#include "common/milli_clock.h"

namespace quotes {

class TokenBucket {
public:
    explicit TokenBucket(int callsPerMinute);
    // Takes one call's token; false when the minute's calls are spent.
    bool Take(std::int64_t nowMs);

private:
    double capacity_;
    double tokens_;
    std::int64_t lastMs_ = -1;
};

inline constexpr std::int64_t kFirstBackoffMs = 5000;
inline constexpr std::int64_t kLongestBackoffMs = 5 * 60 * 1000;

// Whether a Retry-After asks for more than the longest wait, which is all it gets.
inline bool AsksTooLong(std::optional<int> retryAfterSeconds) {
    return retryAfterSeconds && std::int64_t{*retryAfterSeconds} * 1000 > kLongestBackoffMs;
}

class Backoff {
public:
    // The next wait: the Retry-After when there is one (at most kLongestBackoffMs), else the
    // doubling schedule.
    void Failed(std::int64_t nowMs, std::optional<int> retryAfterSeconds);
    void Succeeded();
    bool Waiting(std::int64_t nowMs) const { return nowMs < untilMs_; }
    std::int64_t until() const { return untilMs_; }

private:
    std::int64_t delayMs_ = kFirstBackoffMs;
    std::int64_t untilMs_ = 0;
};

}  // namespace quotes
