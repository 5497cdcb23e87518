// What the service's last clients (2010 to 2017) hard-coded: the other quote paths, the
// dividend table, "from the beginning" histories, exchange holidays and minor-unit lines.
#include <gtest/gtest.h>

#include <string>

#include "common/market_time.h"
#include "protocol/quote_line.h"
#include "sim/history.h"
#include "sim/simulated_lines.h"
#include "support/simulated_replies.h"

namespace {

std::int64_t At(const char* text) {
    return *quotes::ParseClock(text);
}

std::string Body(const std::string& target, std::int64_t t) {
    const quotes::Reply reply = tickwell_test::SimulatedReply("GET", target, t);
    EXPECT_EQ(reply.status, 200) << target;
    return reply.body;
}

std::size_t Lines(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

TEST(CsvEra, EveryQuotePathGivesTheSameReply) {
    const std::int64_t t = At("2026-12-07T15:30:00Z");
    const std::string expected = Body("/d/quotes.csv?s=MSFT+VOD.L&f=sl1n", t);
    EXPECT_EQ(Lines(expected), 2u);
    for (const char* target : {"/d/quote.csv?s=MSFT+VOD.L&f=sl1n", "/d?f=sl1n&s=MSFT,VOD.L&e=.csv",
                               "/d?s=MSFT+VOD.L&f=sl1n&e=.csv",
                               "http://download.finance.yahoo.com/d?s=MSFT,VOD.L&f=sl1n"}) {
        EXPECT_EQ(Body(target, t), expected) << target;
    }
}

TEST(CsvEra, NoSessionOnAnExchangeHoliday) {
    // Thanksgiving, Independence Day kept on Friday the 3rd, Good Friday, Juneteenth; and New
    // Year's Day of 2022, a Saturday, keeps the Friday before open.
    const std::int64_t now = At("2026-12-07T15:30:00Z");
    const std::string year = Body("/table.csv?s=MSFT&a=11&b=20&c=2021&d=11&e=7&f=2026", now);
    for (const char* closed : {"2026-11-26", "2026-07-03", "2026-04-03", "2026-06-19", "2026-01-19",
                               "2025-12-25", "2024-11-28"}) {
        EXPECT_EQ(year.find(closed), std::string::npos) << closed;
    }
    EXPECT_NE(year.find("2021-12-31"), std::string::npos);
    EXPECT_NE(year.find("2026-11-27"), std::string::npos);
    // During the holiday the last trade is the day before; London keeps Boxing Day, Tel Aviv
    // trades on Sunday.
    EXPECT_EQ(quotes::FormatQuoteLine("MSFT", {"d1"}, At("2026-11-26T18:00:00Z")),
              "\"11/25/2026\"");
    EXPECT_EQ(quotes::FormatQuoteLine("VOD.L", {"d1"}, At("2025-12-26T12:00:00Z")),
              "\"12/24/2025\"");
    EXPECT_EQ(quotes::FormatQuoteLine("TEVA.TA", {"d1"}, At("2026-12-06T14:00:00Z")),
              "\"12/6/2026\"");
}

TEST(CsvEra, HistoryFromTheBeginningIsTheLongestItServes) {
    const std::int64_t now = At("2026-12-07T15:30:00Z");
    const std::string all = Body("/table.csv?s=IBM&a=0&b=1&c=1900&g=d&ignore=.csv", now);
    EXPECT_EQ(all, Body("/table.csv?s=IBM&a=0&b=1&c=2010&g=d", now));
    EXPECT_GT(Lines(all), 1200u);  // five years of sessions, not one
}

TEST(CsvEra, DividendsAreTheQuartersThatTheQuoteShows) {
    const std::int64_t now = At("2026-12-07T15:30:00Z");
    const std::string table = Body("/table.csv?s=MSFT&a=0&b=1&c=2026&g=v&ignore=.csv", now);
    ASSERT_EQ(table.rfind(quotes::kDividendHeader, 0), 0u) << table;
    EXPECT_EQ(Lines(table), 5u);  // four quarters gone ex in the year
    // The newest row is the ex-dividend date that q shows, and a quarter of d.
    const std::string q = quotes::FormatQuoteLine("MSFT", {"q"}, now);
    const int month = std::stoi(q.substr(1)), day = std::stoi(q.substr(q.find('/') + 1));
    char iso[16];
    std::snprintf(iso, sizeof iso, "2026-%02d-%02d,", month, day);
    const std::string row = table.substr(std::char_traits<char>::length(quotes::kDividendHeader));
    EXPECT_EQ(row.rfind(iso, 0), 0u) << row;
    const double d = std::stod(quotes::FormatQuoteLine("MSFT", {"d"}, now));
    EXPECT_NEAR(std::stod(row.substr(11)) * 4, d, 0.0002);
    EXPECT_EQ(row.find('\n') - 11, 8u);  // six decimals
    // An index pays nothing: the header alone.
    EXPECT_EQ(Body("/table.csv?s=%5EGSPC&g=v", now), quotes::kDividendHeader);
}

TEST(CsvEra, MinorUnitLinesGiveEveryMoneyFigureInThatUnit) {
    // What a client that divides a GBp line's prices, EPS, dividend and cap by 100 reads.
    const std::int64_t now = At("2026-12-07T15:30:00Z");
    int checked = 0;
    for (const char* symbol : {"VOD.L", "HSBA.L", "BP.L", "SHEL.L", "AZN.L", "GSK.L", "TEVA.TA",
                               "LUMI.TA", "POLI.TA", "ICL.TA"}) {
        const std::string line = quotes::FormatQuoteLine(symbol, {"l1", "j2", "j1", "e", "r"}, now);
        SCOPED_TRACE(line);
        double l1 = 0, shares = 0, cap = 0, e = 0, r = 0;
        char unit = 0;
        ASSERT_GE(std::sscanf(line.c_str(), "%lf,%lf,%lf%c,", &l1, &shares, &cap, &unit), 4);
        const double scale = unit == 'B' ? 1e9 : 1e6;
        EXPECT_NEAR(cap * scale, l1 * shares, 0.005 * scale);
        if (std::sscanf(line.c_str(), "%*f,%*f,%*f%*c,%lf,%lf", &e, &r) == 2) {
            EXPECT_NEAR(r, l1 / e, 0.01);
            ++checked;
        }
    }
    EXPECT_GE(checked, 3);
}

}  // namespace
