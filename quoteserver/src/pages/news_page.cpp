#include "pages/news_page.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

#include "common/market_time.h"
#include "pages/html.h"
#include "pages/symbol_pages.h"

namespace quotes {
namespace {

constexpr std::size_t kMostSummary = 240;

// A link only to the web: an address of another scheme (javascript:, data:) is shown as text.
bool WebLink(const std::string& link) {
    const bool web = link.rfind("https://", 0) == 0 || link.rfind("http://", 0) == 0;
    return web && std::none_of(link.begin(), link.end(), [](char c) {
               return static_cast<unsigned char>(c) <= ' ' || c == 0x7F;
           });
}

// Whether the tag whose name starts at `at` ends a run of text (a paragraph, a line break, a
// cell), so that its words stay apart; inline ones (b, i, a, span) do not.
bool BreaksText(const std::string& html, std::size_t at) {
    if (at < html.size() && html[at] == '/') ++at;
    std::string name;
    while (at < html.size() && std::isalnum(static_cast<unsigned char>(html[at])) &&
           name.size() < 8)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[at++])));
    static const char* const kInline[] = {"a",     "b",   "i",   "em",   "strong", "span", "u",
                                          "small", "sup", "sub", "font", "abbr",   "code"};
    return std::none_of(std::begin(kInline), std::end(kInline),
                        [&](const char* tag) { return name == tag; });
}

}  // namespace

std::string TextOfHtml(const std::string& html) {
    std::string text;
    bool inTag = false;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (inTag) {
            inTag = c != '>';
            continue;
        }
        if (c == '<') {
            inTag = true;
            if (BreaksText(html, i + 1)) text += ' ';
            continue;
        }
        if (c == '&') {
            if (const std::size_t length = ReadEntity(html, i, text)) {
                i += length - 1;
                continue;
            }
        }
        const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (space || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            if (!text.empty() && text.back() != ' ') text += ' ';
            continue;
        }
        text += c;
    }
    // Folded: no space twice, none at the ends.
    std::string folded;
    for (const char c : text) {
        if (c == ' ' && (folded.empty() || folded.back() == ' ')) continue;
        folded += c;
    }
    while (!folded.empty() && folded.back() == ' ') folded.pop_back();
    return folded;
}

std::string FirstSentence(const std::string& text) {
    std::size_t end = text.size();
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if ((text[i] == '.' || text[i] == '!' || text[i] == '?') && text[i + 1] == ' ') {
            end = i + 1;
            break;
        }
    }
    if (end <= kMostSummary) return text.substr(0, end);
    std::size_t cut = kMostSummary;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8
    return text.substr(0, cut) + "...";
}

std::string NewsPageHtml(const NewsFacts& f) {
    const std::string title = f.symbol + " news" + (f.name.empty() ? "" : " - " + f.name);
    std::string body = ChartLinkHtml(f.symbol);
    if (f.items.empty()) body += "<p>No headlines for " + HtmlEscape(f.symbol) + " now.</p>\n";
    if (!f.items.empty() && !f.zone.empty())
        body += "<p>Times are " + HtmlEscape(f.zone) + ".</p>\n";
    body += "<ul>\n";
    for (std::size_t i = 0; i < f.items.size() && i < kMostHeadlines; ++i) {
        const NewsItem& item = f.items[i];
        std::string line = "<li>";
        const std::string when = item.localSeconds ? ClockText(item.localSeconds) : "";
        if (!when.empty()) line += when + " ";
        if (!item.publisher.empty()) line += HtmlEscape(item.publisher) + ": ";
        const std::string text = HtmlEscape(item.title.empty() ? "(untitled)" : item.title);
        line += WebLink(item.link) ? "<a href=\"" + HtmlEscape(item.link) + "\">" + text + "</a>"
                                   : text;
        if (!item.summary.empty()) line += "<br>" + HtmlEscape(FirstSentence(item.summary));
        body += line + "</li>\n";
    }
    return HtmlPage(title, body + "</ul>\n", f.origin);
}

std::string ZoneText(int offset) {
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    char text[16];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return text;
}

std::string NoNewsPage(const std::string& symbol, const std::string& why,
                       const std::string& origin) {
    return HtmlPage(symbol + " news", ChartLinkHtml(symbol) + "<p>" + HtmlEscape(why) + "</p>\n",
                    origin);
}

}  // namespace quotes
