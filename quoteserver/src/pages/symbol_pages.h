// The small pages every source's pages share: a symbol no source knows, and the time a page
// was drawn.
#pragma once

#include <cstdint>
#include <string>

namespace quotes {

// Says no instrument is listed as `symbol` (escaped), where the page would have come from.
std::string UnknownSymbolPage(const std::string& symbol, const std::string& origin);
// A paragraph linking to the symbol's chart page on this service.
std::string ChartLinkHtml(const std::string& symbol);
// "2026-12-09 15:55" of a time in seconds (local or UTC, as it was counted).
std::string ClockText(std::int64_t seconds);
// "2026-12-09 15:55 UTC".
std::string UtcClockText(std::int64_t utcSeconds);

}  // namespace quotes
