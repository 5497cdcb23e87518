// The simulated market's web pages that the viewer opens in a browser: a symbol's chart and
// news, and a market overview. Plain HTML with inline SVG, no scripts.
#pragma once

#include <cstdint>
#include <string>

namespace quotes {

std::string ChartPage(const std::string& symbol, std::int64_t utcSeconds);
std::string NewsPage(const std::string& symbol, std::int64_t utcSeconds);
std::string OverviewPage(std::int64_t utcSeconds);

}  // namespace quotes
