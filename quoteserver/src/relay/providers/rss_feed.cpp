#include "relay/providers/rss_feed.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/market_time.h"

namespace quotes {
namespace {

constexpr const char* kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";

std::string TextOf(const pugi::xml_node& item, const char* name) {
    return item.child(name).text().as_string();
}

}  // namespace

std::optional<std::int64_t> Rfc822Seconds(const std::string& text) {
    const std::size_t comma = text.find(',');
    const std::string date = comma == std::string::npos ? text : text.substr(comma + 1);
    int day = 0, year = 0, hour = 0, minute = 0, second = 0;
    char month[4] = {}, zone[8] = {};
    const int read = std::sscanf(date.c_str(), " %2d %3s %4d %2d:%2d:%2d %7s", &day, month, &year,
                                 &hour, &minute, &second, zone);
    if (read < 6) return std::nullopt;
    const char* at = std::strstr(kMonths, month);
    if (!at || std::strlen(month) != 3 || (at - kMonths) % 3 != 0) return std::nullopt;
    if (day < 1 || day > 31 || year < 1970 || year > 9999 || hour > 23 || minute > 59 ||
        second > 60)
        return std::nullopt;
    int offset = 0;  // "+0100", "-0500"; "GMT", "UTC", "Z" and none are 0
    if ((zone[0] == '+' || zone[0] == '-') && std::strlen(zone) == 5) {
        const int hhmm = std::atoi(zone + 1);
        offset = (hhmm / 100 * 3600 + hhmm % 100 * 60) * (zone[0] == '-' ? -1 : 1);
    }
    const int monthNumber = static_cast<int>(at - kMonths) / 3 + 1;
    return DaysFromCivil({year, monthNumber, day}) * 86400 + hour * 3600 + minute * 60 + second -
           offset;
}

std::optional<std::vector<NewsItem>> ReadRssItems(const std::string& body, int utcOffsetSeconds) {
    pugi::xml_document document;
    // The default parse: no DTD is read, entities beyond XML's own are left as text.
    if (!document.load_buffer(body.data(), body.size())) return std::nullopt;
    const pugi::xml_node channel = document.child("rss").child("channel");
    if (!channel) return std::nullopt;
    std::vector<std::pair<std::int64_t, NewsItem>> dated;
    for (const pugi::xml_node item : channel.children("item")) {
        NewsItem news;
        news.title = TextOfHtml(TextOf(item, "title"));
        news.link = TextOf(item, "link");
        news.publisher = TextOfHtml(TextOf(item, "source"));
        if (news.publisher.empty()) news.publisher = TextOfHtml(TextOf(item, "dc:creator"));
        news.summary = TextOfHtml(TextOf(item, "description"));
        const auto utc = Rfc822Seconds(TextOf(item, "pubDate"));
        news.localSeconds = utc ? *utc + utcOffsetSeconds : 0;
        dated.emplace_back(utc.value_or(0), std::move(news));
        if (dated.size() >= 4 * kMostHeadlines) break;
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<NewsItem> items;
    for (auto& [when, item] : dated) {
        if (items.size() >= kMostHeadlines) break;
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace quotes
