// A symbol's headlines page, from any source's feed: each item's time in the exchange's zone,
// its publisher, its title as a link and the first sentence of its description, all as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quotes {

inline constexpr std::size_t kMostHeadlines = 20;

struct NewsItem {
    std::int64_t localSeconds = 0;  // in the exchange's zone; 0 when the feed gave no time
    std::string publisher, title, link;
    std::string summary;  // the description as plain text (its markup already removed)
};

struct NewsFacts {
    std::string symbol, name;
    std::vector<NewsItem> items;  // newest first
    std::string zone;             // the times' zone, as the page names it ("UTC-05:00")
    std::string origin;           // where the headlines come from, and when
};

std::string NewsPageHtml(const NewsFacts& facts);
// "UTC-05:00" for an offset of -18000 s.
std::string ZoneText(int utcOffsetSeconds);
// A page saying why there are no headlines, with a link to the symbol's chart.
std::string NoNewsPage(const std::string& symbol, const std::string& why,
                       const std::string& origin);

// The text of a piece of HTML: its tags left out, its entities read, its spaces folded.
std::string TextOfHtml(const std::string& html);
// Up to the end of its first sentence, and at most 240 characters.
std::string FirstSentence(const std::string& text);

}  // namespace quotes
