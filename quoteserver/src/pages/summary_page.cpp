#include "pages/summary_page.h"

#include <algorithm>

#include "pages/braille_chart.h"
#include "pages/html.h"

namespace quotes {
namespace {

constexpr int kSparkCells = 24;

std::string Signed(const std::optional<double>& value, int decimals, const char* unit = "") {
    if (!value) return "N/A";
    return (*value > 0 ? "+" : "") + FixedText(*value, decimals) + unit;
}

std::string Row(const SummaryLine& line) {
    return "<tr><td>" + HtmlEscape(line.label) + "</td><td align=\"right\">" +
           (line.last ? FixedText(*line.last, line.decimals) : "N/A") +
           "</td><td align=\"right\">" + Signed(line.change, line.decimals) +
           "</td><td align=\"right\">" + Signed(line.changePercent, 2, "%") + "</td><td>" +
           Sparkline(line.path, kSparkCells) + "</td></tr>\n";
}

std::string MoversList(const char* title, const std::vector<Mover>& movers) {
    std::string out = std::string("<h2>") + title + "</h2>\n<ol>\n";
    for (const Mover& m : movers) {
        out += "<li>" + HtmlEscape(m.symbol) + " " + HtmlEscape(m.name) + " " +
               FixedText(m.last, 2) + " " + Signed(m.changePercent, 2, "%") + "</li>\n";
    }
    return out + "</ol>\n";
}

}  // namespace

std::string SummaryPageHtml(const SummaryFacts& facts) {
    std::string body;
    const char* section = "";
    for (std::size_t i = 0; i < facts.lines.size(); ++i) {
        const char* now = i < std::size(kSummaryInstruments) ? kSummaryInstruments[i].section : "";
        if (std::string_view(now) != section) {
            if (*section) body += "</table>\n";
            section = now;
            body += std::string("<h2>") + section +
                    "</h2>\n<table><tr><th align=\"left\">Name</th><th>Last</th><th>Change</th>"
                    "<th>%</th><th align=\"left\">Today</th></tr>\n";
        }
        body += Row(facts.lines[i]);
    }
    if (*section) body += "</table>\n";
    std::vector<Mover> movers = facts.movers;
    std::sort(movers.begin(), movers.end(), [](const Mover& a, const Mover& b) {
        return a.changePercent > b.changePercent ||
               (a.changePercent == b.changePercent && a.symbol < b.symbol);
    });
    const std::size_t n = std::min(kSummaryMovers, movers.size());
    std::vector<Mover> gainers(movers.begin(), movers.begin() + n);
    std::vector<Mover> losers(movers.rbegin(), movers.rbegin() + n);
    std::erase_if(gainers, [](const Mover& m) { return m.changePercent <= 0; });
    std::erase_if(losers, [](const Mover& m) { return m.changePercent >= 0; });
    body += "<p>" + HtmlEscape(facts.moversFrom) + "</p>\n";
    body += MoversList("Biggest gainers", gainers) + MoversList("Biggest losers", losers);
    return HtmlPage("Market summary", body, facts.origin);
}

}  // namespace quotes
