// The market summary: indices, currencies, commodities and the ten-year yield, each with its
// last, change and percent and a one-line Braille sparkline of today's path, then the biggest
// gainers and losers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quotes {

// What the summary shows, under the symbol each kind of source knows it by.
struct SummaryInstrument {
    const char* section;
    const char* label;
    const char* symbol;           // the live sources'
    const char* simulatedSymbol;  // the simulated market's
};

inline constexpr SummaryInstrument kSummaryInstruments[] = {
    {"Indices", "S&P 500", "^GSPC", "^GSPC"},
    {"Indices", "Dow Jones", "^DJI", "^DJI"},
    {"Indices", "Nasdaq", "^IXIC", "^IXIC"},
    {"Indices", "Russell 2000", "^RUT", "^RUT"},
    {"Indices", "FTSE 100", "^FTSE", "^FTSE"},
    {"Indices", "DAX", "^GDAXI", "^GDAXI"},
    {"Indices", "CAC 40", "^FCHI", "^FCHI"},
    {"Indices", "Nikkei 225", "^N225", "^N225"},
    {"Indices", "Hang Seng", "^HSI", "^HSI"},
    {"Currencies", "EUR/USD", "EURUSD=X", "EURUSD=X"},
    {"Currencies", "USD/JPY", "JPY=X", "USDJPY=X"},
    {"Currencies", "GBP/USD", "GBPUSD=X", "GBPUSD=X"},
    {"Commodities", "Gold", "GC=F", "GC=F"},
    {"Commodities", "Crude oil", "CL=F", "CL=F"},
    {"Rates", "10-year Treasury yield", "^TNX", "^TNX"},
};

inline constexpr std::size_t kSummaryMovers = 5;  // gainers and losers shown

struct SummaryLine {
    std::string label;
    int decimals = 2;
    std::optional<double> last, change, changePercent;
    std::vector<double> path;  // today's, oldest first
};

struct Mover {
    std::string symbol, name;
    double last = 0, changePercent = 0;
};

struct SummaryFacts {
    std::vector<SummaryLine> lines;  // in kSummaryInstruments' order
    std::vector<Mover> movers;       // any order: the page sorts them
    std::string moversFrom;          // which instruments the movers are of
    std::string origin;
};

std::string SummaryPageHtml(const SummaryFacts& facts);

}  // namespace quotes
