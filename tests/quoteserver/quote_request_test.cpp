#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/market_time.h"
#include "protocol/quote_request.h"
#include "support/simulated_replies.h"

namespace {

using quotes::ParseSymbolList;
using quotes::ParseTags;
using Strings = std::vector<std::string>;

TEST(QuoteRequest, SymbolListsInEveryHistoricalSpelling) {
    EXPECT_EQ(ParseSymbolList("MSFT,IBM"), (Strings{"MSFT", "IBM"}));
    EXPECT_EQ(ParseSymbolList("MSFT+IBM"), (Strings{"MSFT", "IBM"}));
    EXPECT_EQ(ParseSymbolList("\"MSFT,RY.TO\""), (Strings{"MSFT", "RY.TO"}));
    EXPECT_EQ(ParseSymbolList("%22MSFT%2CRY.TO%22"), (Strings{"MSFT", "RY.TO"}));
    EXPECT_EQ(ParseSymbolList("%5EGSPC,EURUSD%3DX"), (Strings{"^GSPC", "EURUSD=X"}));
    EXPECT_EQ(ParseSymbolList("A%20B"), (Strings{"A B"}));  // one symbol with a space
    EXPECT_EQ(ParseSymbolList("MSFT,,IBM,"), (Strings{"MSFT", "IBM"}));
    EXPECT_EQ(ParseSymbolList("\"\""), Strings{});
    EXPECT_EQ(ParseSymbolList(""), Strings{});
    std::string many;
    for (int i = 0; i < 250; ++i) many += "S" + std::to_string(i) + ",";
    const Strings parsed = ParseSymbolList(many);
    ASSERT_EQ(parsed.size(), 200u);
    EXPECT_EQ(parsed.back(), "S199");
}

TEST(QuoteRequest, TagsAreLettersWithAnOptionalDigit) {
    EXPECT_EQ(ParseTags("sperl1c1p2vj1kjd1t1ghnj2"),
              (Strings{"s", "p", "e", "r", "l1", "c1", "p2", "v", "j1", "k", "j", "d1", "t1", "g",
                       "h", "n", "j2"}));
    EXPECT_EQ(ParseTags("s%20l1!9"), (Strings{"s", "l1"}));
    EXPECT_EQ(ParseTags(""), Strings{});
}

TEST(QuoteRequest, TargetsInOriginAndAbsoluteForm) {
    EXPECT_EQ(quotes::OriginForm("/d/quotes.csv?s=A"), "/d/quotes.csv?s=A");
    EXPECT_EQ(quotes::OriginForm("http://download.example/d/quotes.csv?s=A"), "/d/quotes.csv?s=A");
    EXPECT_EQ(quotes::OriginForm("http://host"), "/");
    EXPECT_EQ(quotes::OriginForm("*"), std::nullopt);
    EXPECT_EQ(quotes::QueryValue("e=.csv&s=A&s=B&f=", "s"), "A");
    EXPECT_EQ(quotes::QueryValue("e=.csv&f", "f"), "");
    EXPECT_EQ(quotes::QueryValue("e=.csv", "s"), std::nullopt);
    EXPECT_EQ(quotes::PercentDecode("%41%4g%2"), "A%4g%2");
}

TEST(QuoteRequest, RoutesAnswerKnownPathsOnly) {
    const std::int64_t now = *quotes::ParseClock("2026-12-07T15:30:00Z");
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/d/quotes.csv?s=MSFT&f=s", now).body,
              "\"MSFT\"\r\n");
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/d/quotes.csv?f=s", now).body,
              "Missing Symbols List.");
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/d/quotes.csv?s=MSFT", now).body,
              "Missing Format Variable.");
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/../etc/passwd", now).status, 404);
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/d/../d/quotes.csv?s=A&f=s", now).status, 404);
    EXPECT_EQ(tickwell_test::SimulatedReply("POST", "/d/quotes.csv", now).status, 405);
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "garbage", now).status, 400);
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/raw?dp=news&tn=_MSFT", now).status, 200);
    EXPECT_EQ(tickwell_test::SimulatedReply("GET", "/raw?dp=other", now).status, 404);
}

TEST(QuoteRequest, RandomTargetsNeverBreakTheRoutes) {
    const std::string alphabet = "/d/quotes.csv?s=&f=%22%2C+,\"^.=X_rawdpnewspgMSFT\x01\xff";
    const std::int64_t now = *quotes::ParseClock("2026-12-07T15:30:00Z");
    std::mt19937 random(99);
    for (int round = 0; round < 20000; ++round) {
        std::string target = round % 2 ? "/d/quotes.csv?" : "";
        const std::size_t length = random() % 80;
        for (std::size_t i = 0; i < length; ++i) target += alphabet[random() % alphabet.size()];
        const quotes::Reply reply = tickwell_test::SimulatedReply("GET", target, now);
        ASSERT_TRUE(reply.status == 200 || (reply.status >= 400 && reply.status < 500)) << target;
        if (reply.isQuotes && reply.body.find("\r\n") != std::string::npos) {
            // Every reply line is a line of its own: no echo carries a line break.
            for (const char c : reply.body) {
                ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << target;
            }
        }
    }
}

TEST(MarketTime, ClockTextsAndCalendar) {
    EXPECT_EQ(quotes::ParseClock("1970-01-01"), 0);
    EXPECT_EQ(quotes::ParseClock("2026-12-07T15:30:00Z"), 1796657400);
    EXPECT_EQ(quotes::ParseClock("2026-12-07T15:30"), 1796657400);
    EXPECT_EQ(quotes::ParseClock("1796657400"), 1796657400);
    EXPECT_EQ(quotes::ParseClock("2026-13-01"), std::nullopt);
    EXPECT_EQ(quotes::ParseClock("yesterday"), std::nullopt);
    EXPECT_EQ(quotes::ParseClock("2026-12-07T15:30:00Zjunk"), std::nullopt);
    EXPECT_EQ(quotes::Weekday(quotes::DaysFromCivil({2026, 12, 7})), 1);  // a Monday
    const quotes::CivilDate back = quotes::CivilFromDays(quotes::DaysFromCivil({2024, 2, 29}));
    EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day, 20240229);
}

}  // namespace
