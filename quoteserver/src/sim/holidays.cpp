#include "sim/holidays.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "common/market_time.h"

namespace quotes {
namespace {

// Rules beyond the fixed dates.
constexpr unsigned kUsExchange = 1;    // the NYSE's calendar, weekend rules and all
constexpr unsigned kGoodFriday = 2;    // Good Friday
constexpr unsigned kEasterMonday = 4;  // Easter Monday

constexpr int kFirstYear = 1970;  // holidays are kept for these years; none outside
constexpr int kLastYear = 2299;
constexpr std::size_t kMostFixed = 8;
constexpr std::size_t kMostPerYear = 16;

// One calendar: the suffixes of the markets that keep it (space-separated; "-" for the USA's
// major exchanges), its rules and its fixed dates as month * 100 + day.
struct Calendar {
    std::string_view markets;
    unsigned rules;
    std::array<int, kMostFixed> fixed;
};

constexpr unsigned kEaster = kGoodFriday | kEasterMonday;

// Every market's holidays, in this one table. Tel Aviv's follow the Hebrew calendar and are
// not kept.
constexpr std::array kCalendars = {
    Calendar{"- CBT CME NYB CMX NYM OB PK", kUsExchange | kGoodFriday, {}},
    Calendar{"TO V", kGoodFriday, {101, 701, 1225, 1226}},
    Calendar{"BA", 0, {101, 501, 525, 709, 1208, 1225}},
    Calendar{"AX", kEaster, {101, 126, 425, 1225, 1226}},
    Calendar{"SA", 0, {101, 421, 501, 907, 1012, 1102, 1115, 1225}},
    Calendar{"SS SZ", 0, {101, 501, 1001, 1002, 1003}},
    Calendar{"PA AS MI BC BI MF MC MA L", kEaster, {101, 501, 1225, 1226}},
    Calendar{"VA CO BE BM DU F HM HA MU SG DE", kEaster, {101, 501, 1224, 1225, 1226, 1231}},
    Calendar{"HK", kEaster, {101, 501, 701, 1001, 1225, 1226}},
    Calendar{"BO NS", 0, {126, 815, 1002, 1225}},
    Calendar{"JK", 0, {101, 817, 1225}},
    Calendar{"KS KQ", 0, {101, 301, 505, 606, 815, 1003, 1009, 1225}},
    Calendar{"MX", 0, {101, 916, 1225}},
    Calendar{"NZ", kEaster, {101, 102, 206, 425, 1225, 1226}},
    Calendar{"OL", kEaster, {101, 501, 517, 1224, 1225, 1226, 1231}},
    Calendar{"SI", 0, {101, 501, 809, 1225}},
    Calendar{"ST", kEaster, {101, 106, 501, 606, 1224, 1225, 1226, 1231}},
    Calendar{"SW", kEaster, {101, 102, 501, 801, 1224, 1225, 1226, 1231}},
    Calendar{"TW TWO", 0, {101, 228, 1010}},
    Calendar{"=X", 0, {101, 1225}},
};

bool Keeps(const Calendar& calendar, std::string_view suffix) {
    const std::string_view name = suffix.empty() ? std::string_view("-") : suffix;
    std::string_view rest = calendar.markets;
    while (!rest.empty()) {
        const std::size_t space = rest.find(' ');
        if (rest.substr(0, space) == name) return true;
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return false;
}

const Calendar* CalendarOf(const Market& market) {
    for (const Calendar& calendar : kCalendars) {
        if (Keeps(calendar, market.suffix)) return &calendar;
    }
    return nullptr;
}

// Easter Sunday of the Gregorian calendar (the anonymous algorithm).
std::int64_t EasterSunday(int year) {
    const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return DaysFromCivil({year, month, day});
}

// The n-th (1-based) given weekday of a month; n = -1 is the last.
std::int64_t NthWeekday(int year, int month, int weekday, int n) {
    if (n < 0) {
        const std::int64_t next = DaysFromCivil({month == 12 ? year + 1 : year, month % 12 + 1, 1});
        std::int64_t day = next - 1;
        while (Weekday(day) != weekday) --day;
        return day;
    }
    std::int64_t day = DaysFromCivil({year, month, 1});
    while (Weekday(day) != weekday) ++day;
    return day + 7 * (n - 1);
}

// A fixed US holiday on a Saturday is kept the Friday before, on a Sunday the Monday after; New
// Year's Day on a Saturday is not kept at all (the year before closes its books that Friday).
std::int64_t Observed(std::int64_t day, bool fridayBefore = true) {
    if (Weekday(day) == 6) return fridayBefore ? day - 1 : -1;
    if (Weekday(day) == 0) return day + 1;
    return day;
}

constexpr int kMonday = 1, kThursday = 4;

// A year's holidays, without allocating: the simulation asks for them in its inner loops.
struct YearHolidays {
    std::array<std::int64_t, kMostPerYear> days{};
    std::size_t count = 0;

    void push_back(std::int64_t day) {
        if (count < days.size()) days[count++] = day;
    }
    const std::int64_t* begin() const { return days.data(); }
    const std::int64_t* end() const { return days.data() + count; }
};

void AddUsHolidays(int year, YearHolidays& out) {
    const std::int64_t newYear = Observed(DaysFromCivil({year, 1, 1}), false);
    if (newYear >= 0) out.push_back(newYear);
    if (year >= 1998) out.push_back(NthWeekday(year, 1, kMonday, 3));  // Martin Luther King Day
    out.push_back(NthWeekday(year, 2, kMonday, 3));                    // Presidents' Day
    out.push_back(NthWeekday(year, 5, kMonday, -1));                   // Memorial Day
    if (year >= 2022) out.push_back(Observed(DaysFromCivil({year, 6, 19})));  // Juneteenth
    out.push_back(Observed(DaysFromCivil({year, 7, 4})));
    out.push_back(NthWeekday(year, 9, kMonday, 1));     // Labor Day
    out.push_back(NthWeekday(year, 11, kThursday, 4));  // Thanksgiving
    out.push_back(Observed(DaysFromCivil({year, 12, 25})));
}

// The year's holidays, sorted, without repeats.
YearHolidays HolidaysOf(const Calendar& calendar, int year) {
    YearHolidays days;
    if (year < kFirstYear || year > kLastYear) return days;
    if (calendar.rules & kUsExchange) AddUsHolidays(year, days);
    for (int date : calendar.fixed) {
        if (date != 0) days.push_back(DaysFromCivil({year, date / 100, date % 100}));
    }
    if (calendar.rules & kGoodFriday) days.push_back(EasterSunday(year) - 2);
    if (calendar.rules & kEasterMonday) days.push_back(EasterSunday(year) + 1);
    std::sort(days.days.begin(), days.days.begin() + static_cast<std::ptrdiff_t>(days.count));
    days.count = static_cast<std::size_t>(
        std::unique(days.days.begin(),
                    days.days.begin() + static_cast<std::ptrdiff_t>(days.count)) -
        days.days.begin());
    return days;
}

// Per market, worked out once: every year's holidays (`days`, year by year from kFirstYear,
// the year's first at `first[year - kFirstYear]`), and the holidays on trading weekdays before
// each year's first day. The simulation asks for them for every quote it makes.
struct MarketHolidays {
    bool kept = false;
    std::vector<std::int64_t> days;
    std::vector<std::size_t> first;    // one past kLastYear included
    std::vector<std::int64_t> before;  // one past kLastYear included

    // The holidays of `year`, sorted; none outside the years kept.
    std::pair<const std::int64_t*, const std::int64_t*> Year(int year) const {
        if (!kept || year < kFirstYear || year > kLastYear) return {nullptr, nullptr};
        const auto index = static_cast<std::size_t>(year - kFirstYear);
        return {days.data() + first[index], days.data() + first[index + 1]};
    }
};

MarketHolidays WorkOut(const Market& market) {
    MarketHolidays h;
    const Calendar* calendar = CalendarOf(market);
    h.kept = calendar != nullptr;
    std::int64_t total = 0;
    for (int year = kFirstYear; year <= kLastYear + 1; ++year) {
        h.before.push_back(total);
        h.first.push_back(h.days.size());
        if (!calendar) continue;
        for (std::int64_t day : HolidaysOf(*calendar, year)) {
            h.days.push_back(day);
            total += TradingWeekday(market, day) ? 1 : 0;
        }
    }
    return h;
}

const MarketHolidays& HolidaysFor(const Market& market) {
    static const std::vector<MarketHolidays> all = [] {
        int count = 0;
        const Market* markets = Markets(count);
        std::vector<MarketHolidays> made;
        for (int m = 0; m < count; ++m) made.push_back(WorkOut(markets[m]));
        return made;
    }();
    static const MarketHolidays none;
    int count = 0;
    const std::ptrdiff_t index = &market - Markets(count);
    return index >= 0 && index < count ? all[static_cast<std::size_t>(index)] : none;
}

}  // namespace

bool IsHoliday(const Market& market, std::int64_t day) {
    const auto [begin, end] = HolidaysFor(market).Year(CivilFromDays(day).year);
    return begin && std::binary_search(begin, end, day);
}

std::int64_t HolidaysBefore(const Market& market, std::int64_t day) {
    const MarketHolidays& h = HolidaysFor(market);
    if (!h.kept) return 0;
    const int year = CivilFromDays(day).year;
    if (year < kFirstYear) return 0;
    if (year > kLastYear) return h.before.back();
    std::int64_t count = h.before[static_cast<std::size_t>(year - kFirstYear)];
    const auto [begin, end] = h.Year(year);
    for (const std::int64_t* holiday = begin; holiday != end && *holiday < day; ++holiday) {
        if (TradingWeekday(market, *holiday)) ++count;
    }
    return count;
}

}  // namespace quotes
