#include "pages/symbol_pages.h"

#include <cstdio>

#include "common/market_time.h"
#include "common/url_encode.h"
#include "pages/html.h"

namespace quotes {

std::string UnknownSymbolPage(const std::string& symbol, const std::string& origin) {
    return HtmlPage("Unknown symbol",
                    "<p>No instrument is listed as " + HtmlEscape(symbol) + ".</p>\n", origin);
}

std::string ChartLinkHtml(const std::string& symbol) {
    return "<p><a href=\"/raw?dp=page&amp;pg=finance/quote_chart&amp;s=" + UrlEncode(symbol) +
           "\">Chart of " + HtmlEscape(symbol) + "</a></p>\n";
}

std::string UtcClockText(std::int64_t utc) {
    const std::int64_t day = DayOf(utc);
    const CivilDate date = CivilFromDays(day);
    const std::int64_t second = utc - day * 86400;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d UTC", date.year, date.month,
                  date.day, static_cast<int>(second / 3600), static_cast<int>(second % 3600 / 60));
    return text;
}

}  // namespace quotes
