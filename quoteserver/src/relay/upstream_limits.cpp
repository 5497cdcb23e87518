#include "relay/upstream_limits.h"

#include <algorithm>

namespace quotes {

TokenBucket::TokenBucket(int callsPerMinute)
    : capacity_(std::max(1, callsPerMinute)), tokens_(capacity_) {}

bool TokenBucket::Take(std::int64_t nowMs) {
    if (lastMs_ >= 0 && nowMs > lastMs_) {
        tokens_ = std::min(capacity_,
                           tokens_ + capacity_ * static_cast<double>(nowMs - lastMs_) / 60000.0);
    }
    lastMs_ = std::max(lastMs_, nowMs);
    if (tokens_ < 1) return false;
    tokens_ -= 1;
    return true;
}

void Backoff::Failed(std::int64_t nowMs, std::optional<int> retryAfterSeconds) {
    if (retryAfterSeconds) {
        // What the source asks, within the longest wait: a day's Retry-After would take it
        // out for a day though it recovers in seconds.
        const std::int64_t askedMs = std::max<std::int64_t>(0, *retryAfterSeconds) * 1000;
        untilMs_ = nowMs + std::min(askedMs, kLongestBackoffMs);
        return;
    }
    untilMs_ = nowMs + delayMs_;
    delayMs_ = std::min(delayMs_ * 2, kLongestBackoffMs);
}

void Backoff::Succeeded() {
    delayMs_ = kFirstBackoffMs;
    untilMs_ = 0;
}

}  // namespace quotes
