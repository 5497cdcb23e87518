// A chart page's figures from Yahoo's chart endpoint: today's 5-minute bars
// (range=1d&interval=5m) and a year of daily ones (range=1y&interval=1d).
#pragma once

#include <optional>
#include <string>

#include "pages/chart_page.h"

namespace quotes {

// Nothing when the day's body holds no chart.
std::optional<ChartFacts> YahooChartFacts(const std::string& requested, const std::string& dayBody,
                                          const std::string& yearBody);

}  // namespace quotes
