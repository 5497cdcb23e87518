#include "sim/pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "sim/instruments.h"
#include "sim/sessions.h"
#include "sim/simulation.h"

namespace quotes {
namespace {

// A price every five minutes of a session of six and a half hours.
constexpr int kDaySamples = 79;

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string Page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + Escape(title) +
           "</title></head>\n<body>\n<h1>" + Escape(title) + "</h1>\n" + body +
           "<p><small>Simulated market of the Tickwell quote "
           "service.</small></p>\n</body></html>\n";
}

// A line chart of `values` as an inline SVG.
std::string Chart(const std::vector<double>& values, const std::string& label) {
    if (values.empty()) return "<p>No trades yet.</p>\n";
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const double span = *hi > *lo ? *hi - *lo : 1;
    constexpr int kWidth = 480, kHeight = 160;
    std::string points;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double x = values.size() > 1 ? i * (kWidth - 1.0) / (values.size() - 1) : 0;
        const double y = kHeight - 1 - (values[i] - *lo) / span * (kHeight - 2);
        points += Fixed(x, 1) + "," + Fixed(y, 1) + " ";
    }
    return "<h2>" + Escape(label) + "</h2>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(kWidth) + "\" height=\"" + std::to_string(kHeight) +
           "\"><rect width=\"100%\" height=\"100%\" fill=\"white\" stroke=\"gray\"/>"
           "<polyline fill=\"none\" stroke=\"navy\" points=\"" +
           points + "\"/></svg>\n<p>Low " + Fixed(*lo, 2) + ", high " + Fixed(*hi, 2) + ".</p>\n";
}

// The same prices as text, for terminal browsers: a chart of stars inside <pre>, the highest
// price at the top.
std::string TextChart(const std::vector<double>& values, int decimals) {
    if (values.empty()) return "";
    constexpr int kRows = 10, kColumns = 60;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const double span = *hi > *lo ? *hi - *lo : 1;
    const int columns = std::min<int>(kColumns, static_cast<int>(values.size()));
    std::vector<std::string> grid(kRows, std::string(columns, ' '));
    for (int c = 0; c < columns; ++c) {
        const std::size_t i = columns > 1 ? c * (values.size() - 1) / (columns - 1) : 0;
        const int level = static_cast<int>(std::lround((values[i] - *lo) / span * (kRows - 1)));
        grid[kRows - 1 - level][c] = '*';
    }
    const std::string top = Fixed(*hi, decimals), bottom = Fixed(*lo, decimals);
    const std::size_t width = std::max(top.size(), bottom.size());
    std::string out = "<pre>\n";
    for (int r = 0; r < kRows; ++r) {
        std::string label = r == 0 ? top : r == kRows - 1 ? bottom : "";
        out += std::string(width - label.size(), ' ') + label + " |" + grid[r] + "\n";
    }
    return out + "</pre>\n";
}

// The day's prices every half hour, in a table, with their local times.
std::string DayTable(const std::vector<double>& day, int sessionLength, int openMinute, int samples,
                     int decimals) {
    std::string out = "<table border=\"1\"><tr><th>Time</th><th>Price</th></tr>\n";
    for (std::size_t i = 0; i < day.size(); ++i) {
        const int minute = samples > 1 ? static_cast<int>(i) * sessionLength / (samples - 1) : 0;
        if (minute % 30 != 0 && i + 1 != day.size()) continue;
        const int local = (openMinute + minute) % (24 * 60);
        char time[8];
        std::snprintf(time, sizeof time, "%02d:%02d", local / 60, local % 60);
        out +=
            std::string("<tr><td>") + time + "</td><td>" + Fixed(day[i], decimals) + "</td></tr>\n";
    }
    return out + "</table>\n";
}

double ChangePercent(const Quote& q) {
    return q.prevClose > 0 ? (q.last - q.prevClose) / q.prevClose * 100 : 0;
}

std::string UnknownSymbolPage(const std::string& symbol) {
    return Page("Unknown symbol", "<p>No instrument is listed as " + Escape(symbol) + ".</p>\n");
}

}  // namespace

std::string ChartPage(const std::string& symbol, std::int64_t now) {
    const Instrument* inst = FindInstrument(symbol);
    if (!inst) return UnknownSymbolPage(symbol);
    std::vector<double> day(kDaySamples);
    day.resize(SimulateSessionPath(*inst, now, day.data(), static_cast<int>(day.size())));
    std::vector<double> year(252);
    SimulateCloses(*inst, now, year.data(), static_cast<int>(year.size()));
    const Quote q = SimulateQuote(*inst, now);
    const std::string head = "<p>" + Escape(inst->name) + ": last " + Fixed(q.last, q.decimals) +
                             " (" + Fixed(ChangePercent(q), 2) + "%)</p>\n";
    const SessionPoint session = LocateSession(*inst->market, now);
    const std::string today =
        Chart(day, "Today") + TextChart(day, q.decimals) +
        DayTable(day, session.length, inst->market->openMinute, kDaySamples, q.decimals);
    return Page(symbol + " chart",
                head + today + Chart(year, "One year") + TextChart(year, q.decimals));
}

std::string NewsPage(const std::string& symbol, std::int64_t now) {
    const Instrument* inst = FindInstrument(symbol);
    if (!inst) return UnknownSymbolPage(symbol);
    std::string items;
    // One headline per recent session, written from how the symbol moved that day.
    std::vector<double> closes(6);
    SimulateCloses(*inst, now, closes.data(), static_cast<int>(closes.size()));
    for (int i = static_cast<int>(closes.size()) - 1; i > 0; --i) {
        const double pct = (closes[i] - closes[i - 1]) / closes[i - 1] * 100;
        const char* verb = pct > 2      ? "jumps"
                           : pct > 0.3  ? "gains"
                           : pct < -2   ? "slides"
                           : pct < -0.3 ? "slips"
                                        : "little changed";
        const int daysAgo = static_cast<int>(closes.size()) - 1 - i;
        const std::string when = daysAgo == 0   ? "today"
                                 : daysAgo == 1 ? "yesterday"
                                                : std::to_string(daysAgo) + " sessions ago";
        items += "<li>" + Escape(inst->name) + " " + verb + " " +
                 (std::fabs(pct) > 0.3 ? Fixed(std::fabs(pct), 1) + "% " : "") + "in " +
                 Escape(std::string(inst->market->name)) + " trading " + when + "</li>\n";
    }
    return Page(symbol + " news", "<ul>\n" + items + "</ul>\n");
}

std::string OverviewPage(std::int64_t now) {
    std::string indices =
        "<table border=\"1\"><tr><th>Index</th><th>Last</th><th>Change</th></tr>\n";
    struct Mover {
        const Instrument* inst;
        double pct;
    };
    std::vector<Mover> movers;
    int count = 0;
    const Instrument* all = Instruments(count);
    for (int i = 0; i < count; ++i) {
        const Quote q = SimulateQuote(all[i], now);
        if (all[i].kind == InstrumentKind::index) {
            indices += "<tr><td>" + Escape(all[i].name) + "</td><td>" + Fixed(q.last, 2) +
                       "</td><td>" + Fixed(ChangePercent(q), 2) + "%</td></tr>\n";
        } else if (all[i].kind == InstrumentKind::stock) {
            movers.push_back({&all[i], ChangePercent(q)});
        }
    }
    indices += "</table>\n";
    std::sort(movers.begin(), movers.end(), [](const Mover& a, const Mover& b) {
        return a.pct > b.pct || (a.pct == b.pct && a.inst->symbol < b.inst->symbol);
    });
    auto list = [&](const char* title, auto begin, auto end) {
        std::string out = std::string("<h2>") + title + "</h2>\n<ol>\n";
        for (auto it = begin; it != end; ++it) {
            out += "<li>" + Escape(it->inst->symbol) + " " + Escape(it->inst->name) + " " +
                   Fixed(it->pct, 2) + "%</li>\n";
        }
        return out + "</ol>\n";
    };
    const std::size_t n = std::min<std::size_t>(5, movers.size());
    return Page("Market overview",
                indices + list("Biggest gainers", movers.begin(), movers.begin() + n) +
                    list("Biggest losers", movers.rbegin(), movers.rbegin() + n));
}

}  // namespace quotes
