#include "relay/live_format.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "common/market_time.h"
#include "common/number_text.h"
#include "protocol/quote_tags.h"

namespace quotes {
namespace {

using Figure = std::optional<double>;

struct Context {
    const std::string& symbol;
    const LiveQuote& q;
};

using Writer = bool (*)(std::string& out, const Context& c);

bool Price(std::string& out, const Context& c, Figure value) {
    if (!value) return false;
    AppendNumber(out, *value, c.q.decimals);
    return true;
}

// A reported figure in the line's unit: pence on a GBp line, as the simulated market gives it.
Figure Reported(const Context& c, Figure major) {
    if (!major) return std::nullopt;
    return *major * c.q.MinorPerMajor();
}

bool Money(std::string& out, Figure value) {
    if (!value) return false;
    AppendNumber(out, *value, 2);
    return true;
}

Figure Change(const Context& c) {
    if (c.q.last && c.q.previousClose) return *c.q.last - *c.q.previousClose;
    return c.q.change;
}

Figure ChangePercent(const Context& c) {
    if (c.q.last && c.q.previousClose && *c.q.previousClose > 0) {
        return (*c.q.last - *c.q.previousClose) / *c.q.previousClose * 100;
    }
    return c.q.changePercent;
}

bool Signed(std::string& out, const Context& c, Figure value) {
    if (!value) return false;
    AppendSigned(out, *value, c.q.decimals);
    return true;
}

bool Percent(std::string& out, Figure value) {
    if (!value) return false;
    AppendPercent(out, *value);
    return true;
}

// Distances of the price from a reference: bare above it, signed below, as the era wrote them.
bool Distance(std::string& out, const Context& c, Figure from) {
    if (!c.q.last || !from) return false;
    AppendNumber(out, *c.q.last - *from, c.q.decimals);
    return true;
}

bool SignedDistance(std::string& out, const Context& c, Figure from) {
    if (!c.q.last || !from) return false;
    return Signed(out, c, *c.q.last - *from);
}

bool PercentFrom(std::string& out, const Context& c, Figure from) {
    if (!c.q.last || !from || !(*from > 0)) return false;
    AppendPercent(out, (*c.q.last - *from) / *from * 100);
    return true;
}

bool Range(std::string& out, const Context& c, Figure low, Figure high) {
    if (!low || !high) return false;
    Price(out, c, low);
    out += " - ";
    return Price(out, c, high);
}

// The date and time of an instant at an offset from UTC.
bool LocalTime(std::optional<std::int64_t> utc, int offset, CivilDate& date, int& minute) {
    if (!utc || *utc <= 0) return false;
    const std::int64_t local = *utc + offset;
    const std::int64_t day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    date = CivilFromDays(day);
    minute = static_cast<int>((local - day * 86400) / 60);
    return true;
}

// A trade's date is the exchange's; a dividend's is a calendar date, kept as midnight UTC.
bool Date(std::string& out, std::optional<std::int64_t> utc, int offset) {
    CivilDate date{1970, 1, 1};
    int minute = 0;
    if (!LocalTime(utc, offset, date, minute)) return false;
    AppendTradeDate(out, date);
    return true;
}

bool Time(std::string& out, const Context& c) {
    CivilDate date{1970, 1, 1};
    int minute = 0;
    if (!LocalTime(c.q.tradeTime, c.q.utcOffsetSeconds, date, minute)) return false;
    AppendTradeTime(out, minute);
    return true;
}

// A name as a quoted value may hold it: no double quote, no control character.
bool Text(std::string& out, std::string_view text) {
    if (text.empty()) return false;
    for (char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        out += ch == '"' ? '\'' : (u < 0x20 || u == 0x7F) ? ' ' : ch;
    }
    return true;
}

bool Ratio(std::string& out, Figure numerator, Figure denominator) {
    if (!numerator || !denominator || !(*denominator > 0)) return false;
    AppendNumber(out, *numerator / *denominator, 2);
    return true;
}

bool Count(std::string& out, std::optional<std::uint64_t> value) {
    if (!value) return false;
    AppendDigits(out, *value);
    return true;
}

Figure MarketCap(const Context& c) {
    if (c.q.marketCap) return Reported(c, c.q.marketCap);
    if (c.q.last && c.q.sharesOutstanding) return *c.q.last * *c.q.sharesOutstanding;
    return std::nullopt;
}

struct LiveTag {
    std::string_view name;
    Writer write;
};

// The tags a live source can fill; every other tag answers N/A in its form.
constexpr LiveTag kLiveTags[] = {
    {"s", [](std::string& o, const Context& c) { return Text(o, c.symbol); }},
    {"n", [](std::string& o, const Context& c) { return Text(o, c.q.name); }},
    {"l1", [](std::string& o, const Context& c) { return Price(o, c, c.q.last); }},
    {"p", [](std::string& o, const Context& c) { return Price(o, c, c.q.previousClose); }},
    {"o", [](std::string& o, const Context& c) { return Price(o, c, c.q.open); }},
    {"g", [](std::string& o, const Context& c) { return Price(o, c, c.q.dayLow); }},
    {"h", [](std::string& o, const Context& c) { return Price(o, c, c.q.dayHigh); }},
    {"j", [](std::string& o, const Context& c) { return Price(o, c, c.q.yearLow); }},
    {"k", [](std::string& o, const Context& c) { return Price(o, c, c.q.yearHigh); }},
    {"b", [](std::string& o, const Context& c) { return Price(o, c, c.q.bid); }},
    {"a", [](std::string& o, const Context& c) { return Price(o, c, c.q.ask); }},
    {"m", [](std::string& o, const Context& c) { return Range(o, c, c.q.dayLow, c.q.dayHigh); }},
    {"w", [](std::string& o, const Context& c) { return Range(o, c, c.q.yearLow, c.q.yearHigh); }},
    {"c1", [](std::string& o, const Context& c) { return Signed(o, c, Change(c)); }},
    {"p2", [](std::string& o, const Context& c) { return Percent(o, ChangePercent(c)); }},
    {"c",
     [](std::string& o, const Context& c) {
         if (!Change(c) || !ChangePercent(c)) return false;
         Signed(o, c, Change(c));
         o += " - ";
         return Percent(o, ChangePercent(c));
     }},
    {"v", [](std::string& o, const Context& c) { return Count(o, c.q.volume); }},
    {"a2", [](std::string& o, const Context& c) { return Count(o, c.q.averageVolume); }},
    {"d1",
     [](std::string& o, const Context& c) { return Date(o, c.q.tradeTime, c.q.utcOffsetSeconds); }},
    {"t1", [](std::string& o, const Context& c) { return Time(o, c); }},
    {"l",
     [](std::string& o, const Context& c) {
         if (!c.q.last || !Time(o, c)) return false;
         o += " - <b>";
         Price(o, c, c.q.last);
         o += "</b>";
         return true;
     }},
    {"c4", [](std::string& o, const Context& c) { return Text(o, c.q.currency); }},
    {"x", [](std::string& o, const Context& c) { return Text(o, c.q.exchange); }},
    {"e1", [](std::string& o, const Context&) { return Text(o, kNotAvailable); }},
    {"e", [](std::string& o, const Context& c) { return Money(o, Reported(c, c.q.eps)); }},
    {"e7", [](std::string& o, const Context& c) { return Money(o, Reported(c, c.q.epsThisYear)); }},
    {"e8", [](std::string& o, const Context& c) { return Money(o, Reported(c, c.q.epsNextYear)); }},
    {"b4", [](std::string& o, const Context& c) { return Money(o, Reported(c, c.q.bookValue)); }},
    {"d", [](std::string& o, const Context& c) { return Money(o, Reported(c, c.q.dividend)); }},
    {"y", [](std::string& o, const Context& c) { return Money(o, c.q.dividendYield); }},
    {"r",
     [](std::string& o, const Context& c) {
         if (c.q.priceEarnings) return Money(o, c.q.priceEarnings);
         return Ratio(o, c.q.last, Reported(c, c.q.eps));
     }},
    {"r6", [](std::string& o,
              const Context& c) { return Ratio(o, c.q.last, Reported(c, c.q.epsThisYear)); }},
    {"r7", [](std::string& o,
              const Context& c) { return Ratio(o, c.q.last, Reported(c, c.q.epsNextYear)); }},
    {"p6", [](std::string& o,
              const Context& c) { return Ratio(o, c.q.last, Reported(c, c.q.bookValue)); }},
    {"j1",
     [](std::string& o, const Context& c) {
         const Figure cap = MarketCap(c);
         if (!cap) return false;
         AppendBigMoney(o, *cap);
         return true;
     }},
    {"j2",
     [](std::string& o, const Context& c) {
         if (!c.q.sharesOutstanding) return false;
         AppendShareCount(o, *c.q.sharesOutstanding);
         return true;
     }},
    {"m3", [](std::string& o, const Context& c) { return Price(o, c, c.q.average50); }},
    {"m4", [](std::string& o, const Context& c) { return Price(o, c, c.q.average200); }},
    {"m5", [](std::string& o, const Context& c) { return Distance(o, c, c.q.average200); }},
    {"m6", [](std::string& o, const Context& c) { return PercentFrom(o, c, c.q.average200); }},
    {"m7", [](std::string& o, const Context& c) { return Distance(o, c, c.q.average50); }},
    {"m8", [](std::string& o, const Context& c) { return PercentFrom(o, c, c.q.average50); }},
    {"j5", [](std::string& o, const Context& c) { return Distance(o, c, c.q.yearLow); }},
    {"j6", [](std::string& o, const Context& c) { return PercentFrom(o, c, c.q.yearLow); }},
    {"k4", [](std::string& o, const Context& c) { return SignedDistance(o, c, c.q.yearHigh); }},
    {"k5", [](std::string& o, const Context& c) { return PercentFrom(o, c, c.q.yearHigh); }},
    {"q", [](std::string& o, const Context& c) { return Date(o, c.q.exDividendDate, 0); }},
    {"r1", [](std::string& o, const Context& c) { return Date(o, c.q.dividendDate, 0); }},
};

void AppendValue(std::string& out, std::string_view name, const Context& c) {
    const TagInfo* info = FindTag(name);
    for (const LiveTag& tag : kLiveTags) {
        if (tag.name != name) continue;
        const std::size_t mark = out.size();
        const bool quoted = info && info->QuotedValue();
        if (quoted) out += '"';
        if (tag.write(out, c)) {
            if (quoted) out += '"';
            return;
        }
        out.resize(mark);
        break;
    }
    if (info && info->QuotedNotAvailable()) {
        AppendQuoted(out, kNotAvailable);
    } else {
        out += kNotAvailable;
    }
}

}  // namespace

std::string FormatLiveLine(const std::string& symbol, const LiveQuote& quote,
                           const std::vector<std::string>& tags) {
    const Context context{symbol, quote};
    std::string line;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (i > 0) line += ',';
        AppendValue(line, tags[i], context);
    }
    return line;
}

}  // namespace quotes
