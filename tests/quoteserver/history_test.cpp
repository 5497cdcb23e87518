// Historical prices from table.csv: the simulated sessions the quotes come from, newest first,
// agreeing with the quote of the same day.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/market_time.h"
#include "protocol/quote_line.h"
#include "sim/history.h"
#include "sim/simulated_lines.h"
#include "support/simulated_replies.h"

namespace {

std::int64_t At(const char* text) {
    return *quotes::ParseClock(text);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

std::vector<std::vector<std::string>> Rows(const std::string& query, std::int64_t t) {
    const quotes::Reply reply = tickwell_test::SimulatedReply("GET", "/table.csv?" + query, t);
    EXPECT_EQ(reply.status, 200) << query;
    const std::vector<std::string> lines = Split(reply.body, '\n');
    EXPECT_FALSE(lines.empty());
    if (lines.empty()) return {};
    EXPECT_EQ(lines[0] + "\n", quotes::kHistoryHeader);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) rows.push_back(Split(lines[i], ','));
    return rows;
}

// The quote's "o,h,g,l1,v" beside a row's "Open,High,Low,Close,Volume".
std::string QuoteDay(const char* symbol, std::int64_t t) {
    return quotes::FormatQuoteLine(symbol, {"o", "h", "g", "l1", "v"}, t);
}

std::string RowDay(const std::vector<std::string>& row) {
    return row[1] + "," + row[2] + "," + row[3] + "," + row[4] + "," + row[5];
}

TEST(History, TodaysRowIsTheQuoteAndYesterdaysCloseItsPreviousClose) {
    const std::int64_t now = At("2026-12-07T15:30:00Z");  // Monday, 10:30 in New York
    const auto rows = Rows("s=MSFT&a=&b=&c=&d=&e=&f=&g=d&ignore=.csv", now);
    ASSERT_GT(rows.size(), 200u);  // a year of trading days by default
    EXPECT_EQ(rows[0][0], "2026-12-07");
    EXPECT_EQ(RowDay(rows[0]), QuoteDay("MSFT", now));
    EXPECT_EQ(rows[1][0], "2026-12-04");  // the weekend has no rows
    EXPECT_EQ(rows[1][4], quotes::FormatQuoteLine("MSFT", {"p"}, now));
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 7u);
        EXPECT_LE(std::stod(row[3]), std::stod(row[1]));  // low <= open <= high
        EXPECT_LE(std::stod(row[1]), std::stod(row[2]));
        EXPECT_EQ(row[6], row[4]);
    }
}

TEST(History, ADayReadsTheSameOnEveryLaterDay) {
    // The quote at Monday's close, and Monday's row a day and a week later.
    const std::string atClose = QuoteDay("RY.TO", At("2026-12-07T21:05:00Z"));
    for (const char* later : {"2026-12-08T21:30:00Z", "2026-12-14T12:00:00Z"}) {
        const auto rows = Rows("s=RY.TO&a=11&b=7&c=2026&d=11&e=7&f=2026", At(later));
        ASSERT_EQ(rows.size(), 1u) << later;
        EXPECT_EQ(RowDay(rows[0]), atClose) << later;
    }
}

TEST(History, WeeksAndMonthsCombineTheirDays) {
    const std::int64_t now = At("2026-12-07T15:30:00Z");
    const auto days = Rows("s=SAP.DE&a=9&b=1&c=2026&d=11&e=7&f=2026&g=d", now);
    const auto weeks = Rows("s=SAP.DE&a=9&b=1&c=2026&d=11&e=7&f=2026&g=w", now);
    const auto months = Rows("s=SAP.DE&a=9&b=1&c=2026&d=11&e=7&f=2026&g=m", now);
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(months[0][0], "2026-12-01");
    EXPECT_EQ(months[2][0], "2026-10-01");
    EXPECT_EQ(months[0][4], days[0][4]);  // the month's close is its last day's
    EXPECT_EQ(weeks[0][0], "2026-12-07");
    EXPECT_EQ(weeks[1][0], "2026-11-30");
    double high = 0;
    for (const auto& day : days) {
        if (day[0] >= "2026-11-30" && day[0] < "2026-12-07")
            high = std::max(high, std::stod(day[2]));
    }
    EXPECT_EQ(std::stod(weeks[1][2]), high);
}

TEST(History, RangesAreBoundedAndUnknownSymbolsGetTheMissingPage) {
    const std::int64_t now = At("2026-12-07T15:30:00Z");
    const auto decade = Rows("s=msft&a=0&b=1&c=2010&d=11&e=31&f=2030", now);
    ASSERT_FALSE(decade.empty());
    EXPECT_EQ(decade.front()[0], "2026-12-07");  // nothing after today
    EXPECT_EQ(decade.back()[0], "2021-12-03");   // 1,830 days at most
    EXPECT_TRUE(Rows("s=MSFT&a=0&b=1&c=2030", now).empty());
    // A range that ends before 1970, the service's first day: the header alone.
    EXPECT_TRUE(Rows("s=MSFT&d=11&e=31&f=1969", now).empty());
    EXPECT_TRUE(Rows("s=MSFT&a=0&b=1&c=1960&d=0&e=1&f=1965", now).empty());
    EXPECT_FALSE(Rows("s=MSFT&a=0&b=1&c=1960", now).empty());  // from the first day on
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/table.csv?s=XQZW&g=d", now).status, 404);
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/table.csv?g=d", now).status, 404);
    EXPECT_EQ(
        tickwell_test::SimulatedReply("GET", "http://chart.finance.yahoo.com/table.csv?s=IBM", now)
            .status,
        200);
}

}  // namespace
