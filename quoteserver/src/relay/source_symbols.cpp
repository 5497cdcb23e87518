#include "relay/source_symbols.h"

#include <array>
#include <cctype>
#include <string_view>

#include "common/market_time.h"

namespace quotes {
namespace {

// Splits "VOD.L" into "VOD" and "L"; an index ("^GSPC") or a currency ("EURUSD=X") has none.
void Split(const std::string& symbol, std::string& base, std::string& suffix) {
    const std::size_t dot = symbol.rfind('.');
    if (dot == std::string::npos || dot == 0 || symbol.front() == '^') {
        base = symbol;
        suffix.clear();
        return;
    }
    base = symbol.substr(0, dot);
    suffix = symbol.substr(dot + 1);
}

constexpr std::array<std::string_view, 8> kNotOnYahoo = {"CBT", "CME", "NYB", "CMX",
                                                         "NYM", "BC",  "BI",  "MF"};

}  // namespace

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string YahooSymbol(const std::string& requested) {
    std::string base, suffix;
    Split(UpperCase(requested), base, suffix);
    if (base.empty()) return "";
    if (suffix.empty()) return base;
    for (std::string_view gone : kNotOnYahoo) {
        if (suffix == gone) return "";
    }
    if (suffix == "OB" || suffix == "PK") return base;
    if (suffix == "VA") return base + ".VI";
    if (suffix == "MA") return base + ".MC";
    return base + "." + suffix;
}

std::string UsListingSymbol(const std::string& requested) {
    std::string base, suffix;
    Split(UpperCase(requested), base, suffix);
    if (base.empty() || base.front() == '^' || base.find('=') != std::string::npos) return "";
    if (suffix.empty() || suffix == "OB" || suffix == "PK") return base;
    return "";
}

int NewYorkOffsetSeconds(std::int64_t utcSeconds) {
    const std::int64_t day = (utcSeconds - 5 * 3600) / 86400;  // the day by standard time
    const int year = CivilFromDays(day).year;
    std::int64_t start = DaysFromCivil({year, 3, 8});  // the second Sunday of March ...
    while (Weekday(start) != 0) ++start;
    std::int64_t end = DaysFromCivil({year, 11, 1});  // ... to the first Sunday of November
    while (Weekday(end) != 0) ++end;
    // Both changes happen at 2:00 local time: 7:00 UTC in March, 6:00 UTC in November.
    const bool summer =
        utcSeconds >= start * 86400 + 7 * 3600 && utcSeconds < end * 86400 + 6 * 3600;
    return summer ? -4 * 3600 : -5 * 3600;
}

}  // namespace quotes
