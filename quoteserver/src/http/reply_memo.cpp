#include "http/reply_memo.h"

#include <algorithm>
#include <functional>

namespace quotes {

const Reply* ReplyMemo::Find(std::string_view target, std::int64_t second) const {
    if (second != second_) return nullptr;
    for (const auto& [kept, reply] : entries_) {
        if (kept == target) return &reply;
    }
    return nullptr;
}

void ReplyMemo::Start(std::int64_t second) {
    entries_.clear();
    seen_.clear();
    bytes_ = 0;
    second_ = second;
}

void ReplyMemo::Keep(std::string_view target, std::int64_t second, const Reply& reply) {
    if (second != second_) Start(second);
    const std::size_t hash = std::hash<std::string_view>{}(target);
    if (std::find(seen_.begin(), seen_.end(), hash) == seen_.end()) {
        if (seen_.size() >= kSeen) seen_.clear();
        seen_.push_back(hash);
        return;
    }
    const std::size_t size = target.size() + reply.body.size();
    if (size > kBytes) return;
    if (entries_.size() >= kEntries || bytes_ + size > kBytes) {
        entries_.clear();
        bytes_ = 0;
    }
    entries_.emplace_back(std::string(target), reply);
    bytes_ += size;
}

}  // namespace quotes
