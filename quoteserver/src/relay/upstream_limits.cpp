#include "relay/upstream_limits.h"

#include <algorithm>

#include "common/market_time.h"

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

int CreditMeter::UsedThisMinute(std::int64_t nowMs) const {
    int used = 0;
    for (const auto& [when, credits] : minute_) used += nowMs - when < 60000 ? credits : 0;
    return used;
}

int CreditMeter::UsedToday(std::int64_t utcSeconds) const {
    return DayOf(utcSeconds) == day_ ? today_ : 0;
}

int CreditMeter::Take(std::int64_t nowMs, std::int64_t utcSeconds, int wanted) {
    while (!minute_.empty() && nowMs - minute_.front().first >= 60000) minute_.pop_front();
    if (DayOf(utcSeconds) != day_) {  // a new day at 00:00 UTC
        day_ = DayOf(utcSeconds);
        today_ = 0;
    }
    const int left = std::min(perMinute_ - UsedThisMinute(nowMs), perDay_ - today_);
    const int taken = std::clamp(wanted, 0, std::max(0, left));
    if (taken > 0) {
        minute_.emplace_back(nowMs, taken);
        today_ += taken;
    }
    return taken;
}

void CreditMeter::Refund(int credits) {
    credits = std::clamp(credits, 0, today_);
    today_ -= credits;
    for (auto spent = minute_.rbegin(); spent != minute_.rend() && credits > 0; ++spent) {
        const int back = std::min(credits, spent->second);
        spent->second -= back;
        credits -= back;
    }
}

void CreditMeter::SpendMinute(std::int64_t nowMs) {
    const int left = perMinute_ - UsedThisMinute(nowMs);
    if (left > 0) minute_.emplace_back(nowMs, left);
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
