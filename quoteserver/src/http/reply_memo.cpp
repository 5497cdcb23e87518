#include "http/reply_memo.h"

namespace quotes {

const Reply* ReplyMemo::Find(std::string_view target, std::int64_t second) const {
    if (second != second_) return nullptr;
    for (const auto& [kept, reply] : entries_) {
        if (kept == target) return &reply;
    }
    return nullptr;
}

void ReplyMemo::Keep(std::string_view target, std::int64_t second, const Reply& reply) {
    const std::size_t size = target.size() + reply.body.size();
    if (second != second_ || entries_.size() >= kEntries || bytes_ + size > kBytes) {
        entries_.clear();
        bytes_ = 0;
        second_ = second;
    }
    if (size > kBytes) return;
    entries_.emplace_back(std::string(target), reply);
    bytes_ += size;
}

}  // namespace quotes
