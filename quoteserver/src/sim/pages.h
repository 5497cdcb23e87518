// The web pages the viewer opens in a browser: a symbol's chart and news, a market overview
// and the maker's page. Plain HTML with inline SVG, no scripts.
#pragma once

#include <cstdint>
#include <string>

namespace quotes {

std::string ChartPage(const std::string& symbol, std::int64_t utcSeconds);
std::string NewsPage(const std::string& symbol, std::int64_t utcSeconds);
std::string OverviewPage(std::int64_t utcSeconds);
std::string MakerPage();
std::string NotFoundPage();

}  // namespace quotes
