#include "pages/symbol_pages.h"

#include "common/market_time.h"
#include "common/number_text.h"
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

std::string ClockText(std::int64_t seconds) {
    const std::int64_t day = DayOf(seconds);
    const std::int64_t second = seconds - day * 86400;
    std::string text;
    AppendIsoDate(text, CivilFromDays(day));
    text += ' ';
    AppendDigits(text, static_cast<unsigned long long>(second / 3600), 2);
    text += ':';
    AppendDigits(text, static_cast<unsigned long long>(second % 3600 / 60), 2);
    return text;
}

std::string UtcClockText(std::int64_t utc) {
    return ClockText(utc) + " UTC";
}

}  // namespace quotes
