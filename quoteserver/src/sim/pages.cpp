#include "sim/pages.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "pages/chart_page.h"
#include "pages/html.h"
#include "pages/summary_page.h"
#include "pages/symbol_pages.h"
#include "sim/instruments.h"
#include "sim/sessions.h"
#include "sim/simulation.h"

namespace quotes {
namespace {

// A price every five minutes of a session of six and a half hours.
constexpr int kDaySamples = 79;

constexpr const char* kSimulated = "Simulated market of the Tickwell quote service.";

double ChangePercent(const Quote& q) {
    return q.prevClose > 0 ? (q.last - q.prevClose) / q.prevClose * 100 : 0;
}

}  // namespace

namespace {

// Today's path as 5-minute bars, the session's volume so far spread over them, more at the open
// and the close as markets trade.
std::vector<PriceBar> SessionBars(const Instrument& inst, const Quote& q, std::int64_t now) {
    std::vector<double> prices(kDaySamples);
    prices.resize(SimulateSessionPath(inst, now, prices.data(), static_cast<int>(prices.size())));
    const SessionPoint session = LocateSession(*inst.market, now);
    const std::int64_t open =
        SessionDay(*inst.market, session.session) * 86400 + inst.market->openMinute * 60;
    std::vector<double> weights(prices.size());
    double total = 0;
    for (std::size_t i = 0; i < prices.size(); ++i) {
        const double along = 2.0 * i / (kDaySamples - 1) - 1;
        total += weights[i] = 1 + 1.5 * along * along;
    }
    std::vector<PriceBar> bars;
    for (std::size_t i = 0; i < prices.size(); ++i) {
        PriceBar bar;
        bar.localSeconds =
            open + static_cast<std::int64_t>(i) * session.length * 60 / (kDaySamples - 1);
        bar.open = bar.high = bar.low = bar.close = prices[i];
        bar.volume =
            q.volume && total > 0 ? static_cast<double>(*q.volume) * weights[i] / total : 0;
        bars.push_back(bar);
    }
    return bars;
}

std::vector<PriceBar> YearBars(const Instrument& inst, std::int64_t now) {
    const std::int64_t today = now / 86400;
    std::vector<PriceBar> bars;
    for (const DayBar& d : SimulateHistory(inst, now, today - 365, today + 1)) {
        bars.push_back({d.day * 86400 + inst.market->openMinute * 60, d.open, d.high, d.low,
                        d.close, static_cast<double>(d.volume)});
    }
    return bars;
}

}  // namespace

std::string ChartPage(const std::string& symbol, std::int64_t now) {
    const Instrument* inst = FindInstrument(symbol);
    if (!inst) return UnknownSymbolPage(symbol, kSimulated);
    const Quote q = SimulateQuote(*inst, now);
    ChartFacts f;
    f.symbol = symbol;
    f.name = inst->name;
    f.exchange = std::string(inst->market->exchange) + " (" + std::string(inst->market->name) + ")";
    f.currency = std::string(inst->market->currency);
    f.decimals = q.decimals;
    f.last = q.last;
    f.previousClose = q.prevClose;
    f.change = q.last - q.prevClose;
    f.changePercent = ChangePercent(q);
    if (q.traded) f.dayLow = q.dayLow, f.dayHigh = q.dayHigh;
    f.yearLow = q.yearLow;
    f.yearHigh = q.yearHigh;
    if (q.volume) f.volume = static_cast<double>(*q.volume);
    f.quoteTime = ClockText(DaysFromCivil(q.tradeDate) * 86400 + q.tradeMinute * 60);
    f.intraday = SessionBars(*inst, q, now);
    const SessionPoint session = LocateSession(*inst->market, now);
    f.sessionOpen =
        SessionDay(*inst->market, session.session) * 86400 + inst->market->openMinute * 60;
    f.sessionClose = f.sessionOpen + session.length * 60;
    f.daily = YearBars(*inst, now);
    f.origin = "The simulated market of the Tickwell quote service, " + UtcClockText(now) + ".";
    return ChartPageHtml(f);
}

std::string NewsPage(const std::string& symbol, std::int64_t now) {
    const Instrument* inst = FindInstrument(symbol);
    if (!inst) return UnknownSymbolPage(symbol, kSimulated);
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
        items += "<li>" + HtmlEscape(inst->name) + " " + verb + " " +
                 (std::fabs(pct) > 0.3 ? FixedText(std::fabs(pct), 1) + "% " : "") + "in " +
                 HtmlEscape(std::string(inst->market->name)) + " trading " + when + "</li>\n";
    }
    return HtmlPage(
        symbol + " news (simulated headlines)",
        ChartLinkHtml(symbol) + "<ul>\n" + items + "</ul>\n",
        "Headlines made up from the simulated market's moves, " + UtcClockText(now) + ".");
}

std::string OverviewPage(std::int64_t now) {
    SummaryFacts facts;
    for (const SummaryInstrument& entry : kSummaryInstruments) {
        SummaryLine line;
        line.label = entry.label;
        if (const Instrument* inst = FindInstrument(entry.simulatedSymbol)) {
            const Quote q = SimulateQuote(*inst, now);
            line.decimals = q.decimals;
            line.last = q.last;
            line.change = q.last - q.prevClose;
            line.changePercent = ChangePercent(q);
            line.path.resize(kDaySamples);
            line.path.resize(SimulateSessionPath(*inst, now, line.path.data(),
                                                 static_cast<int>(line.path.size())));
        }
        facts.lines.push_back(std::move(line));
    }
    int count = 0;
    const Instrument* all = Instruments(count);
    for (int i = 0; i < count; ++i) {
        if (all[i].kind != InstrumentKind::stock) continue;
        const Quote q = SimulateQuote(all[i], now);
        facts.movers.push_back({all[i].symbol, all[i].name, q.last, ChangePercent(q)});
    }
    facts.moversFrom = "Gainers and losers among the simulated market's listings.";
    facts.origin = "The simulated market of the Tickwell quote service, " + UtcClockText(now) + ".";
    return SummaryPageHtml(facts);
}

}  // namespace quotes
