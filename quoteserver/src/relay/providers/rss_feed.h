// An RSS 2.0 headline feed read with pugixml (no DTD, no external entity is ever loaded): its
// items' titles, links, publishers, times and descriptions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pages/news_page.h"

namespace quotes {

// The items at most kMostHeadlines, newest first, their times moved by `utcOffsetSeconds`;
// nothing when the body is no RSS feed.
std::optional<std::vector<NewsItem>> ReadRssItems(const std::string& body, int utcOffsetSeconds);

// The seconds of an RFC 822 date ("Tue, 09 Dec 2026 14:05:00 +0000", "... GMT"); nothing
// for another text.
std::optional<std::int64_t> Rfc822Seconds(const std::string& text);

}  // namespace quotes
