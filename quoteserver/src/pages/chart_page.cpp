#include "pages/chart_page.h"

#include <algorithm>
#include <cmath>

#include "common/market_time.h"
#include "pages/braille_chart.h"
#include "pages/html.h"

namespace quotes {
namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The month (0 to 11) and day of the month of a local time.
std::pair<int, int> MonthAndDay(std::int64_t localSeconds) {
    const CivilDate date = CivilFromDays(DayOf(localSeconds));
    return {date.month - 1, date.day};
}

std::string Clock(std::int64_t localSeconds) {
    const std::int64_t minute = ((localSeconds % 86400) + 86400) % 86400 / 60;
    return std::to_string(minute / 60) + ":" + (minute % 60 < 10 ? "0" : "") +
           std::to_string(minute % 60);
}

std::string DateText(std::int64_t localSeconds) {
    const auto [month, day] = MonthAndDay(localSeconds);
    return std::string(kMonths[month]) + " " + std::to_string(day);
}

constexpr std::int64_t kBarSeconds = 300;
constexpr std::int64_t kLongestSession = 24 * 3600;  // a longer one is a source's error

// The year's closes, a month's name where each month starts.
ChartSeries YearSeries(const std::vector<PriceBar>& bars, int decimals) {
    ChartSeries series;
    series.decimals = decimals;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        series.values.push_back(bars[i].close);
        series.volumes.push_back(bars[i].volume);
        const int month = MonthAndDay(bars[i].localSeconds).first;
        if (i > 0 && month != MonthAndDay(bars[i - 1].localSeconds).first)
            series.ticks.emplace_back(i, kMonths[month]);
    }
    return series;
}

// Today's closes in their 5-minute places across the session (a missing bar takes the one
// before it), the hours below.
ChartSeries DaySeries(const ChartFacts& f) {
    ChartSeries series;
    series.decimals = f.decimals;
    const bool session =
        f.sessionClose > f.sessionOpen && f.sessionClose - f.sessionOpen <= kLongestSession;
    const std::int64_t open = session ? f.sessionOpen : f.intraday.front().localSeconds;
    const std::int64_t close = std::clamp(session ? f.sessionClose : f.intraday.back().localSeconds,
                                          open, open + kLongestSession);
    series.slots = static_cast<std::size_t>((close - open) / kBarSeconds) + 1;
    for (const PriceBar& bar : f.intraday) {
        if (bar.localSeconds < open) continue;  // before the session
        // The close's own bar may come a second after it: it is the last place.
        const auto place =
            static_cast<std::size_t>((std::min(bar.localSeconds, close) - open) / kBarSeconds);
        if (place >= series.values.size()) {
            series.values.resize(place + 1, std::nan(""));
            series.volumes.resize(place + 1, std::nan(""));
        }
        series.values[place] = bar.close;
        series.volumes[place] = bar.volume;
    }
    series.ticks.emplace_back(0, Clock(open));
    for (std::int64_t hour = (open / 3600 + 1) * 3600; hour <= close; hour += 3600)
        series.ticks.emplace_back(static_cast<std::size_t>((hour - open) / kBarSeconds),
                                  Clock(hour));
    return series;
}

// The same closes as an SVG line, for graphical browsers (text browsers show nothing of it).
std::string SvgLine(const std::vector<PriceBar>& bars, std::optional<double> reference) {
    if (bars.size() < 2) return "";
    double lo = bars.front().close, hi = lo;
    for (const PriceBar& bar : bars) lo = std::min(lo, bar.close), hi = std::max(hi, bar.close);
    if (reference) lo = std::min(lo, *reference), hi = std::max(hi, *reference);
    const double span = hi > lo ? hi - lo : 1;
    constexpr double kWidth = 640, kHeight = 200;
    const auto y = [&](double v) {
        return FixedText(kHeight - 4 - (v - lo) / span * (kHeight - 8), 1);
    };
    std::string points;
    for (std::size_t i = 0; i < bars.size(); ++i)
        points += FixedText(i * (kWidth - 1) / (bars.size() - 1), 1) + "," + y(bars[i].close) + " ";
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"200\">"
        "<rect width=\"100%\" height=\"100%\" fill=\"white\" stroke=\"gray\"/>";
    if (reference) {
        svg += "<line x1=\"0\" x2=\"640\" y1=\"" + y(*reference) + "\" y2=\"" + y(*reference) +
               "\" stroke=\"gray\" stroke-dasharray=\"4 4\"/>";
    }
    return svg + "<polyline fill=\"none\" stroke=\"navy\" points=\"" + points + "\"/></svg>\n";
}

std::string Figure(const std::optional<double>& value, int decimals) {
    return value ? FixedText(*value, decimals) : "N/A";
}

std::string Range(const std::optional<double>& low, const std::optional<double>& high,
                  int decimals) {
    return low && high ? FixedText(*low, decimals) + " - " + FixedText(*high, decimals) : "N/A";
}

std::string FactsTable(const ChartFacts& f) {
    const int d = f.decimals;
    std::string change = "N/A";
    if (f.change && f.changePercent) {
        change = (*f.change > 0 ? "+" : "") + FixedText(*f.change, d) + " (" +
                 (*f.changePercent > 0 ? "+" : "") + FixedText(*f.changePercent, 2) + "%)";
    }
    const std::pair<const char*, std::string> rows[] = {
        {"Exchange", f.exchange.empty() ? "N/A" : f.exchange},
        {"Currency", CurrencyWords(f.currency)},
        {"Last", Figure(f.last, d)},
        {"Change", change},
        {"Day's range", Range(f.dayLow, f.dayHigh, d)},
        {"Year's range", Range(f.yearLow, f.yearHigh, d)},
        {"Volume", f.volume ? FixedText(*f.volume, 0) : "N/A"},
        {"Quote time", f.quoteTime.empty() ? "N/A" : f.quoteTime},
    };
    std::string out = "<table>\n";
    for (const auto& [label, value] : rows)
        out += std::string("<tr><th align=\"left\">") + label + "</th><td>" + HtmlEscape(value) +
               "</td></tr>\n";
    return out + "</table>\n";
}

std::string LastSessions(const std::vector<PriceBar>& daily, int decimals) {
    if (daily.empty()) return "";
    std::string out =
        "<h2>Last five sessions</h2>\n<table border=\"1\"><tr><th>Date</th><th>Open</th>"
        "<th>High</th><th>Low</th><th>Close</th><th>Volume</th></tr>\n";
    const std::size_t from = daily.size() > 5 ? daily.size() - 5 : 0;
    for (std::size_t i = daily.size(); i-- > from;) {
        const PriceBar& b = daily[i];
        out += "<tr><td>" + DateText(b.localSeconds) + "</td><td>" + FixedText(b.open, decimals) +
               "</td><td>" + FixedText(b.high, decimals) + "</td><td>" +
               FixedText(b.low, decimals) + "</td><td>" + FixedText(b.close, decimals) +
               "</td><td>" + FixedText(b.volume, 0) + "</td></tr>\n";
    }
    return out + "</table>\n";
}

std::string ChartSection(const char* title, const std::vector<PriceBar>& bars, ChartSeries series,
                         std::optional<double> reference) {
    std::string out = std::string("<h2>") + title + "</h2>\n";
    series.reference = reference;
    return out + "<pre>\n" + HtmlEscape(BrailleChart(series)) + "</pre>\n" +
           SvgLine(bars, reference);
}

}  // namespace

std::string CurrencyWords(const std::string& currency) {
    if (currency == "GBp") return "GBp (pence)";
    if (currency == "ILA") return "ILA (agorot)";
    if (currency == "ZAc") return "ZAc (cents)";
    return currency.empty() ? "N/A" : currency;
}

std::string ChartPageHtml(const ChartFacts& f) {
    const std::string title = f.symbol + (f.name.empty() ? "" : " - " + f.name);
    std::string body = FactsTable(f);
    if (f.intraday.empty()) {
        body += "<h2>Today</h2>\n<p>No trades to draw yet.</p>\n";
    } else {
        body += ChartSection("Today", f.intraday, DaySeries(f), f.previousClose);
    }
    if (f.previousClose) {
        body += "<p>Dotted: the previous close, " + FixedText(*f.previousClose, f.decimals) +
                ". Under the line: the volume.</p>\n";
    }
    if (!f.daily.empty())
        body += ChartSection("One year", f.daily, YearSeries(f.daily, f.decimals), std::nullopt);
    body += LastSessions(f.daily, f.decimals);
    return HtmlPage(title, body, f.origin);
}

}  // namespace quotes
