// The live sources' page answers as an upstream could send them: the first byte picks the
// reader (a headline feed, a spark answer, a chart, a consent page), the rest is the body. Every
// page drawn from it is well-formed markup: the body's text never becomes a tag.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "pages/chart_page.h"
#include "pages/news_page.h"
#include "pages/summary_page.h"
#include "relay/providers/rss_feed.h"
#include "relay/providers/yahoo_chart_page.h"
#include "relay/providers/yahoo_consent.h"
#include "relay/providers/yahoo_spark.h"
#include "service_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
        case 0:
            if (auto items = quotes::ReadRssItems(body, -18000)) {
                FUZZ_CHECK(items->size() <= quotes::kMostHeadlines);
                tickwell_fuzz::CheckPage(quotes::NewsPageHtml({"X<Y", "", *items, "UTC", ""}));
            }
            break;
        case 1: {
            quotes::SummaryFacts facts;
            for (const auto& [symbol, spark] : quotes::ReadSpark(body))
                facts.lines.push_back({symbol, spark.decimals, spark.last, spark.previousClose,
                                       spark.previousClose, spark.closes});
            tickwell_fuzz::CheckPage(quotes::SummaryPageHtml(facts));
            break;
        }
        case 2:
            if (auto facts = quotes::YahooChartFacts("A&B", body, body)) {
                const std::string page = quotes::ChartPageHtml(*facts);
                tickwell_fuzz::CheckPage(page);
            }
            break;
        default:
            if (auto reply = quotes::RejectAll("http://127.0.0.1:1/v2/x?s=1", body)) {
                FUZZ_CHECK(reply->form.find_first_of("\r\n ") == std::string::npos);
                FUZZ_CHECK(reply->form.size() >= 13);
            }
            break;
    }
    return 0;
}
