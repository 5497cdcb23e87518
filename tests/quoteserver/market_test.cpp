#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <string>

#include "common/market_time.h"
#include "model/exchange_table.h"
#include "platform/host/utf.h"
#include "protocol/quote_line.h"
#include "sim/instruments.h"
#include "sim/simulated_lines.h"
#include "sim/simulated_values.h"
#include "sim/simulation.h"

namespace {

std::int64_t At(const char* text) {
    return *quotes::ParseClock(text);
}

const quotes::Instrument& Find(const char* symbol) {
    const quotes::Instrument* instrument = quotes::FindInstrument(symbol);
    EXPECT_NE(instrument, nullptr) << symbol;
    return *instrument;
}

const std::vector<std::string> kViewerTags = {"s", "p", "e",  "r",  "l1", "c1", "p2", "v", "j1",
                                              "k", "j", "d1", "t1", "g",  "h",  "n",  "j2"};

// The suffix of a listed symbol, as the viewer would read it back.
std::string SuffixOf(const std::string& symbol) {
    const std::size_t dot = symbol.rfind('.');
    return dot == std::string::npos ? "" : symbol.substr(dot + 1);
}

TEST(Market, EveryExchangeOfTheViewerHasAtLeastFiveInstruments) {
    int count = 0;
    const quotes::Instrument* all = quotes::Instruments(count);
    std::map<std::string, int> perSuffix;
    for (int i = 0; i < count; ++i) {
        if (all[i].kind == quotes::InstrumentKind::stock) ++perSuffix[SuffixOf(all[i].symbol)];
    }
    EXPECT_GE(count, 300);
    for (const ExchangeEntry& entry : ExchangeTable) {
        // "USA Major" is listed without a suffix.
        const std::string suffix =
            &entry == &ExchangeTable[0] ? "" : platform::ToUtf8(entry.suffix);
        EXPECT_GE(perSuffix[suffix], 5) << platform::ToUtf8(entry.name);
        perSuffix.erase(suffix);
    }
    EXPECT_TRUE(perSuffix.empty())
        << "a market the viewer cannot name: " << perSuffix.begin()->first;
    for (const char* symbol :
         {"MSFT", "RY.TO", "VOD.L", "SAP.DE", "0005.HK", "^GSPC", "^IXIC", "^DJI", "EURUSD=X"}) {
        EXPECT_NE(quotes::FindInstrument(symbol), nullptr) << symbol;
    }
}

TEST(Market, TheSameInstantGivesTheSameQuote) {
    const std::int64_t t = At("2026-12-07T15:30:00Z");
    const std::string first = quotes::FormatQuoteLine("MSFT", kViewerTags, t);
    EXPECT_EQ(quotes::FormatQuoteLine("MSFT", kViewerTags, t), first);
    EXPECT_NE(quotes::FormatQuoteLine("MSFT", kViewerTags, t + 600), first);
}

// Each thread keeps an instrument's values and line of the second: a change of second, tags or
// spelling must write the line anew, as the uncached simulation gives it.
TEST(Market, KeptLinesFollowTheSecondTheTagsAndTheSpelling) {
    const std::int64_t t = At("2026-12-07T15:30:00Z");
    const quotes::Instrument& msft = *quotes::FindInstrument("MSFT");
    const std::vector<std::string> other = {"s", "l1", "d1", "t1", "n"};
    struct Ask {
        const char* symbol;
        std::int64_t at;
        const std::vector<std::string>* tags;
    };
    const Ask asks[] = {{"MSFT", t, &kViewerTags},
                        {"MSFT", t, &other},
                        {"msft", t, &other},
                        {"MSFT", t + 1, &other},
                        {"MSFT", t, &other},
                        {"MsFt", t + 60, &kViewerTags},
                        {"MSFT", t + 60, &kViewerTags},
                        {"MSFT", t + 600, &kViewerTags}};
    for (const Ask& ask : asks) {
        const quotes::QuoteValues fresh =
            quotes::SimulatedValues(msft, quotes::SimulateQuote(msft, ask.at));
        std::string line;
        quotes::AppendInstrumentLine(line, ask.symbol, msft, quotes::ResolveTags(*ask.tags),
                                     ask.at);
        EXPECT_EQ(line, quotes::QuoteLine(ask.symbol, fresh, *ask.tags))
            << ask.symbol << " at " << ask.at << " with " << ask.tags->size() << " tags";
    }
}

TEST(Market, AClosedMarketHoldsItsLastTrade) {
    const auto& msft = Find("MSFT");
    // 16:00 New York is 21:00 UTC; the evening and the weekend keep Friday's close.
    const quotes::Quote atClose = quotes::SimulateQuote(msft, At("2026-12-04T21:00:00Z"));
    for (const char* later :
         {"2026-12-04T23:00:00Z", "2026-12-05T12:00:00Z", "2026-12-07T14:00:00Z"}) {
        const quotes::Quote q = quotes::SimulateQuote(msft, At(later));
        EXPECT_EQ(q.last, atClose.last) << later;
        EXPECT_FALSE(q.marketOpen) << later;
        EXPECT_EQ(q.tradeDate.day, 4) << later;
        EXPECT_EQ(q.tradeMinute, 16 * 60) << later;
    }
    EXPECT_TRUE(quotes::SimulateQuote(msft, At("2026-12-07T14:31:00Z")).marketOpen);
    // Tel Aviv trades on Sunday.
    EXPECT_TRUE(quotes::SimulateQuote(Find("TEVA.TA"), At("2026-12-06T10:00:00Z")).marketOpen);
}

TEST(Market, QuotesStayConsistentThroughTheDay) {
    int count = 0;
    const quotes::Instrument* all = quotes::Instruments(count);
    for (int i = 0; i < count; ++i) {
        std::uint64_t lastVolume = 0;
        double lastHigh = 0;
        for (int minute = 0; minute <= 24 * 60; minute += 45) {
            const quotes::Quote q =
                quotes::SimulateQuote(all[i], At("2026-12-08T00:00:00Z") + minute * 60);
            SCOPED_TRACE(all[i].symbol + " minute " + std::to_string(minute));
            ASSERT_GT(q.last, 0);
            ASSERT_LE(q.dayLow, q.last);
            ASSERT_GE(q.dayHigh, q.last);
            ASSERT_LE(q.yearLow, q.dayLow);
            ASSERT_GE(q.yearHigh, q.dayHigh);
            if (q.volume && q.traded && q.tradeDate.day == 8) {
                ASSERT_GE(*q.volume, lastVolume);  // volume only rises within a session
                ASSERT_GE(q.dayHigh, lastHigh);
                lastVolume = *q.volume;
                lastHigh = q.dayHigh;
            }
        }
    }
}

// The quote's day, worked out minute by minute in order, is the path the chart draws from.
TEST(Market, TheQuotesDayIsTheChartsPath) {
    for (const char* symbol : {"MSFT", "VOD.L", "RY.TO", "EURUSD=X", "0005.HK"}) {
        const quotes::Instrument* instrument = quotes::FindInstrument(symbol);
        if (!instrument) continue;
        const std::int64_t t = At("2026-12-08T23:59:00Z");  // every market's session has ended
        const quotes::Quote q = quotes::SimulateQuote(*instrument, t);
        if (!q.traded) continue;
        std::vector<double> path(2000);
        const int length = instrument->market->closeMinute - instrument->market->openMinute;
        const int n = quotes::SimulateSessionPath(*instrument, t, path.data(), length + 1);
        ASSERT_EQ(n, length + 1) << symbol;
        const double scale = q.decimals == 4 ? 1e4 : 1e2;
        const auto rounded = [&](double v) { return std::round(v * scale) / scale; };
        EXPECT_EQ(rounded(path[length]), q.last) << symbol;
        EXPECT_EQ(rounded(*std::max_element(path.begin(), path.begin() + n)), q.dayHigh) << symbol;
        EXPECT_EQ(rounded(*std::min_element(path.begin(), path.begin() + n)), q.dayLow) << symbol;
        EXPECT_EQ(rounded(path[0]), *q.open) << symbol;
    }
}

TEST(Market, EveryDisplayPathIsExercised) {
    int count = 0;
    const quotes::Instrument* all = quotes::Instruments(count);
    int unchanged = 0, noEarnings = 0, up = 0, down = 0;
    const std::int64_t t = At("2026-12-08T21:30:00Z");
    for (int i = 0; i < count; ++i) {
        const quotes::Quote q = quotes::SimulateQuote(all[i], t);
        unchanged += q.last == q.prevClose;
        up += q.last > q.prevClose;
        down += q.last < q.prevClose;
        noEarnings += all[i].kind == quotes::InstrumentKind::stock && !q.eps;
    }
    EXPECT_GT(unchanged, 3);
    EXPECT_GT(noEarnings, 10);
    EXPECT_GT(up, 50);
    EXPECT_GT(down, 50);
}

TEST(QuoteFormat, EveryTagHasItsHistoricalForm) {
    const std::string line =
        quotes::FormatQuoteLine("MSFT", kViewerTags, At("2026-12-07T15:30:00Z"));
    const std::string number = R"(-?\d+\.\d{2,4})";
    const std::regex form(
        R"re(^"MSFT",)re" + number + "," + "(-?\\d+\\.\\d{2}|N/A)," + "(\\d+\\.\\d{2}|N/A)," +
        number + R"re(,([+-]\d+\.\d{2}|0\.00),"([+-]\d+\.\d{2}|0\.00)%",\d+,\d+\.\d{2}B,)re" +
        number + "," + number + R"re(,"12/7/2026","10:30am",)re" + number + "," + number +
        R"re(,"Microsoft Corporation",\d+$)re");
    EXPECT_TRUE(std::regex_match(line, form)) << line;
}

TEST(QuoteFormat, UnknownSymbolsGetTheHistoricalLine) {
    EXPECT_EQ(quotes::FormatQuoteLine("XQZW", kViewerTags, 0),
              "\"XQZW\",N/A,N/A,N/A,0.00,N/A,\"N/A\",N/A,N/A,N/A,N/A,\"N/A\",\"N/A\",N/A,N/A,"
              "\"XQZW\",N/A");
    EXPECT_EQ(quotes::FormatQuoteLine("A\"B\r\n", {"s", "zz", "x9"}, 0), "\"A?B??\",N/A,N/A");
}

TEST(QuoteFormat, IndicesCurrenciesAndPenniesUseTheirForms) {
    const std::int64_t t = At("2026-12-07T15:30:00Z");
    const std::vector<std::string> tags = {"s", "l1", "v", "e", "j1", "j2"};
    EXPECT_TRUE(std::regex_match(quotes::FormatQuoteLine("^GSPC", tags, t),
                                 std::regex(R"("\^GSPC",\d+\.\d{2},N/A,N/A,N/A,N/A)")));
    EXPECT_TRUE(std::regex_match(quotes::FormatQuoteLine("EURUSD=X", tags, t),
                                 std::regex(R"("EURUSD=X",\d+\.\d{4},N/A,N/A,N/A,N/A)")));
    // The service answers whatever case it is asked in, and echoes the request.
    EXPECT_EQ(quotes::FormatQuoteLine("msft", {"s", "n"}, t), "\"msft\",\"Microsoft Corporation\"");
}

}  // namespace
