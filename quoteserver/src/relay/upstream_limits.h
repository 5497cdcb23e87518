// The limits a live source keeps to: a token bucket of calls a minute, and backing off after a
// failure (the source's Retry-After, else 5 s doubling to 5 minutes). Time is a millisecond
// clock handed in, so tests count calls against a clock of their own.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

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

// Credits a source counts by the symbol, not the call: so many in any 60 s, so many a UTC day.
class CreditMeter {
public:
    CreditMeter(int perMinute, int perDay) : perMinute_(perMinute), perDay_(perDay) {}
    // Takes the credits of at most `wanted` symbols now; how many it took.
    int Take(std::int64_t nowMs, std::int64_t utcSeconds, int wanted);
    // Gives back the last credits taken, for a call that was not made.
    void Refund(int credits);
    // The minute's credits are spent, whatever was counted (the source said so).
    void SpendMinute(std::int64_t nowMs);
    int UsedThisMinute(std::int64_t nowMs) const;
    int UsedToday(std::int64_t utcSeconds) const;

private:
    const int perMinute_, perDay_;
    std::deque<std::pair<std::int64_t, int>> minute_;  // (when, credits), the last 60 s
    std::int64_t day_ = -1;
    int today_ = 0;
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
