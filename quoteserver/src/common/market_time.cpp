#include "common/market_time.h"

#include <cstdio>

namespace quotes {

// Howard Hinnant's days-from-civil algorithm.
std::int64_t DaysFromCivil(CivilDate date) {
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (date.month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

int Weekday(std::int64_t days) {
    const std::int64_t w = (days + 4) % 7;  // 1970-01-01 was a Thursday
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::optional<std::int64_t> ParseClock(const std::string& text) {
    if (text.empty()) return std::nullopt;
    bool digits = true;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (digits) {
        if (text.size() > 12) return std::nullopt;
        return std::stoll(text);
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    const int n = std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used);
    if (n != 3 || used != 10) return std::nullopt;
    std::string rest = text.substr(10);
    if (!rest.empty()) {
        if (rest.back() == 'Z') rest.pop_back();
        int used2 = 0;
        if (std::sscanf(rest.c_str(), "T%2d:%2d%n", &h, &mi, &used2) != 2) return std::nullopt;
        if (static_cast<std::size_t>(used2) < rest.size() &&
            (std::sscanf(rest.c_str() + used2, ":%2d", &s) != 1 ||
             rest.size() != static_cast<std::size_t>(used2) + 3)) {
            return std::nullopt;
        }
    }
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59 || y < 1970) {
        return std::nullopt;
    }
    return DaysFromCivil({y, mo, d}) * 86400 + h * 3600 + mi * 60 + s;
}

}  // namespace quotes
