// The relay of live sources against a fake upstream that answers with recorded bodies: every
// tag of the recorded quotes, the fallbacks, failover, coalescing, limits and back-off counted
// in calls on a clock of the test's own, stale answers, encoding and keys.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <mutex>
#include <thread>

#include "relay/providers/keyed_sources.h"
#include "relay/providers/yahoo_source.h"
#include "relay/source_config.h"
#include "relay/upstream_http.h"
#include "relay/upstream_limits.h"
#include "routes/routes.h"
#include "sim/history.h"
#include "sources/source_chain.h"
#include "support/fake_upstream.h"

namespace {

using tickwell_test::FakeUpstream;
using tickwell_test::UpstreamFault;

class RelayTest : public ::testing::Test {
protected:
    quotes::RelayContext Context(int maxAge = 30) {
        return {http_.get(), [this] { return ms_.load(); },
                [this](const std::string& line) {
                    std::lock_guard<std::mutex> lock(logMutex_);
                    log_.push_back(line);
                },
                maxAge};
    }
    // Every Yahoo host on the fake: the home page under "/home", query2 under "/q2".
    static quotes::YahooHosts Hosts(const FakeUpstream& fake,
                                    const std::string& pages = "https://pages") {
        return {fake.url(), fake.url() + "/home", fake.url(), fake.url() + "/q2", pages,
                fake.url()};
    }
    std::unique_ptr<quotes::QuoteSource> Yahoo(int callsPerMinute = 30) {
        return std::make_unique<quotes::YahooSource>(Context(), Hosts(upstream_), callsPerMinute);
    }
    std::unique_ptr<quotes::QuoteSource> Finnhub() {
        return std::make_unique<quotes::FinnhubSource>(Context(), upstream_.url(),
                                                       tickwell_test::kFakeKey);
    }
    std::unique_ptr<quotes::QuoteSource> TwelveData() {
        return std::make_unique<quotes::TwelveDataSource>(Context(), upstream_.url(),
                                                          tickwell_test::kFakeKey);
    }
    static std::shared_ptr<quotes::SourceChain> Chain(std::unique_ptr<quotes::QuoteSource> a,
                                                      std::unique_ptr<quotes::QuoteSource> b = {}) {
        std::vector<std::unique_ptr<quotes::QuoteSource>> sources;
        sources.push_back(std::move(a));
        if (b) sources.push_back(std::move(b));
        return std::make_shared<quotes::SourceChain>(std::move(sources));
    }
    quotes::Reply Ask(quotes::SourceChain& chain, const std::string& symbols,
                      const std::string& tags) {
        return Respond("/d/quotes.csv?s=" + symbols + "&f=" + tags, 0, chain);
    }
    // The reply by a deadline of the request's budget on the test's clock.
    quotes::Reply Respond(const std::string& target, std::int64_t now, quotes::SourceChain& chain) {
        return quotes::Respond({"GET", target, now, ms_ + quotes::kRequestBudgetMs}, chain);
    }
    void Advance(int seconds) { ms_ += std::int64_t{seconds} * 1000; }

    FakeUpstream upstream_;
    std::unique_ptr<quotes::UpstreamHttp> http_ = quotes::MakeUpstreamHttp(2);
    std::atomic<std::int64_t> ms_{1'000'000};
    std::mutex logMutex_;
    std::vector<std::string> log_;
};

const char* const kUnknownXqzw =
    "\"XQZW\",0.00,\"No such ticker symbol. <a href=\"/l\">Try Symbol Lookup</a> (Look up: <a "
    "href=\"/l?s=XQZW\">XQZW</a>)\"\r\n";

TEST_F(RelayTest, EveryTagOfTheRecordedV7Quotes) {
    auto chain = Chain(Yahoo());
    // MSFT as recorded: each tag's text made from the JSON's value.
    const std::pair<const char*, const char*> msft[] = {
        {"s", "\"MSFT\""},
        {"n", "\"Microsoft Corporation\""},
        {"l1", "541.55"},
        {"p", "542.07"},
        {"o", "544.94"},
        {"g", "536.73"},
        {"h", "546.27"},
        {"m", "\"536.73 - 546.27\""},
        {"j", "344.79"},
        {"k", "555.45"},
        {"w", "\"344.79 - 555.45\""},
        {"c1", "-0.52"},
        {"p2", "\"-0.10%\""},
        {"c", "\"-0.52 - -0.10%\""},
        {"v", "33295714"},
        {"a2", "20534825"},
        {"b", "540.89"},
        {"a", "542.56"},
        {"d1", "\"10/29/2025\""},
        {"t1", "\"4:00pm\""},
        {"l", "\"4:00pm - <b>541.55</b>\""},
        {"c4", "\"USD\""},
        {"x", "\"NMS\""},
        {"e1", "\"N/A\""},
        {"e", "13.66"},
        {"r", "39.64"},
        {"e7", "15.54"},
        {"e8", "14.95"},
        {"r6", "34.85"},
        {"b4", "46.20"},
        {"p6", "11.72"},
        {"d", "3.64"},
        {"y", "0.67"},
        {"r1", "\"12/11/2025\""},
        {"q", "N/A"},
        {"j1", "4025.39B"},
        {"j2", "7433087554"},
        {"m3", "512.52"},
        {"m4", "459.51"},
        {"m5", "82.04"},
        {"m6", "+17.85%"},
        {"m7", "29.03"},
        {"m8", "+5.66%"},
        {"j5", "196.76"},
        {"j6", "+57.07%"},
        {"k4", "-13.90"},
        {"k5", "-2.50%"},
        {"n4", "\"N/A\""},
        {"k3", "N/A"},
    };
    std::string tags, expected;
    for (const auto& [tag, text] : msft) {
        tags += tag;
        expected += (expected.empty() ? "" : ",") + std::string(text);
    }
    const quotes::Reply reply = Ask(*chain, "MSFT,AAPL", tags);
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.body.substr(0, reply.body.find("\r\n")), expected);
    EXPECT_EQ(Ask(*chain, "AAPL", "sl1pc1p2j1j2").body,
              "\"AAPL\",269.70,269.00,+0.70,\"+0.26%\",4002.45B,14840390000\r\n");
    EXPECT_EQ(upstream_.Calls("/v7/finance/quote"), 1);  // the second answer came from the cache
}

TEST_F(RelayTest, ACrumbRefusedIsRenewedOnceAndAFailingV7FallsBackToCharts) {
    upstream_.Fail("/v7/finance/quote", UpstreamFault::unauthorized);
    auto chain = Chain(Yahoo());
    EXPECT_EQ(Ask(*chain, "AAPL", "sl1").body, "\"AAPL\",269.70\r\n");
    EXPECT_EQ(upstream_.Calls("/v1/test/getcrumb"), 2);
    EXPECT_EQ(upstream_.Calls("/v7/finance/quote"), 2);

    upstream_.Fail("/v7/finance/quote", UpstreamFault::serverError);
    auto fresh = Chain(Yahoo());
    // The chart's previous close is its second-to-last daily close; it reports no earnings.
    EXPECT_EQ(Ask(*fresh, "MSFT,XQZW", "sl1pghkjvej1j2").body,
              "\"MSFT\",541.55,542.07,536.73,546.27,555.45,344.79,33295714,N/A,N/A,N/A\r\n"
              "\"XQZW\",0.00,N/A,N/A,N/A,N/A,N/A,N/A,N/A,N/A,N/A\r\n");
    EXPECT_EQ(upstream_.Calls("/v8/finance/chart/"), 2);  // one each, at once
}

// With v7 down, the chart calls the limit allows go to the symbols never answered first, so a
// portfolio larger than a minute's calls is answered whole within a few refreshes, and /status
// says how the source answers.
TEST_F(RelayTest, TheChartFallbackReachesEverySymbolAndSaysSo) {
    upstream_.Fail("/v7/finance/quote", UpstreamFault::serverError);
    auto chain = Chain(Yahoo());
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty += (i ? ",R" : "R") + std::to_string(1000 + i);
    std::vector<int> statuses;
    for (int refresh = 0; refresh < 3; ++refresh, Advance(31))
        statuses.push_back(Ask(*chain, fifty, "sl1").status);
    EXPECT_EQ(statuses, (std::vector<int>{503, 503, 200}));  // 27, then 14 and 9 more charts
    EXPECT_EQ(Ask(*chain, fifty, "sl1").status, 200);
    const std::string status = Respond(quotes::kStatusPath, 0, *chain).body;
    EXPECT_NE(status.find("yahoo: answering from its fallback (chart calls), last error: status "
                          "500"),
              std::string::npos)
        << status;
}

TEST_F(RelayTest, UnknownSymbolsAnswerAsTheSimulatedMarketDoes) {
    for (auto chain : {Chain(Yahoo()), Chain(Finnhub())}) {
        EXPECT_EQ(Ask(*chain, "XQZW", "sl1e1").body, kUnknownXqzw);
    }
    auto twelve = Chain(TwelveData());
    EXPECT_EQ(Ask(*twelve, "AAPL,INVALID", "sl1").body, "\"AAPL\",229.87\r\n\"INVALID\",0.00\r\n");
    // Listed without a price is no "unknown": no answer, and the next source is asked.
    EXPECT_EQ(Ask(*Chain(Yahoo()), "NP1", "sl1").status, 503);
    EXPECT_EQ(Ask(*Chain(Yahoo(), Finnhub()), "NP2", "sl1").body.rfind("\"NP2\",", 0), 0u);
    EXPECT_GE(upstream_.Calls("/api/v1/quote"), 1);
}

TEST_F(RelayTest, ASymbolTheFirstSourceCannotAnswerGoesToTheNext) {
    upstream_.Fail("/v7/finance/quote", UpstreamFault::serverError);
    upstream_.Fail("/v8/finance/chart/", UpstreamFault::serverError);
    auto chain = Chain(Yahoo(), Finnhub());
    const quotes::Reply reply = Ask(*chain, "AAPL", "sl1pnj1x");
    EXPECT_EQ(reply.body, "\"AAPL\",291.15,295.63,\"Apple Inc\",4300.00B,\"NMS\"\r\n");
    EXPECT_EQ(upstream_.Calls("/api/v1/quote"), 1);
}

TEST_F(RelayTest, RequestsTogetherMakeOneCallAndABatchOf200MakesFour) {
    auto chain = Chain(Yahoo());
    std::vector<std::thread> clients;
    std::atomic<int> answered{0};
    for (int i = 0; i < 8; ++i) {
        clients.emplace_back([&] { answered += Ask(*chain, "MSFT,AAPL", "sl1").status == 200; });
    }
    for (auto& client : clients) client.join();
    EXPECT_EQ(answered, 8);
    EXPECT_EQ(upstream_.Calls("/v7/finance/quote"), 1);

    std::string many;
    for (int i = 0; i < 200; ++i) many += (i ? "," : "") + std::to_string(1000 + i).insert(0, "R");
    const quotes::Reply reply = Ask(*chain, many, "sl1");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(upstream_.Calls("/v7/finance/quote"), 5);
}

TEST_F(RelayTest, LimitsAndBackOffAreCountedInCalls) {
    auto chain = Chain(Yahoo(10));  // ten calls a minute: the session's two, then eight quotes
    for (int i = 0; i < 12; ++i) Ask(*chain, "R" + std::to_string(1000 + i), "sl1");
    EXPECT_EQ(upstream_.Calls("/"), 10);
    EXPECT_EQ(Ask(*chain, "R2000", "l1").status, 503);  // nothing cached, no call allowed
    Advance(6);                                         // a call's worth of tokens
    EXPECT_EQ(Ask(*chain, "R2000", "l1").status, 200);

    // Back-off on a source of ample calls: 5 s doubling, or what Retry-After says.
    upstream_.Fail("/v7/finance/quote", UpstreamFault::tooMany);
    auto ample = Chain(Yahoo(1000));
    const int waits[] = {0, 5, 10, 20};
    for (int wait : waits) {
        Advance(wait);
        Ask(*ample, "R3000", "l1");
    }
    EXPECT_EQ(upstream_.Calls("/v7/"), 13);  // 9 before, one after each wait
    Advance(39);
    EXPECT_EQ(Ask(*ample, "R3000", "l1").status, 503);
    EXPECT_EQ(upstream_.Calls("/v7/"), 13);  // 40 s not yet over

    upstream_.Fail("/v7/finance/quote", UpstreamFault::tooManyRetryAfter);
    Advance(60);
    Ask(*ample, "R3001", "l1");
    Advance(119);
    Ask(*ample, "R3001", "l1");
    EXPECT_EQ(upstream_.Calls("/v7/"), 14);  // Retry-After: 120
    Advance(2);
    Ask(*ample, "R3001", "l1");
    EXPECT_EQ(upstream_.Calls("/v7/"), 15);
}

// A symbol stays one path segment or query value: no key, no other path, no dot segment.
TEST(UrlEncode, ASymbolStaysASymbol) {
    const std::pair<const char*, const char*> cases[] = {
        {"VOD.L", "VOD.L"}, {"^GSPC", "%5EGSPC"}, {"a/b", "a%2Fb"},     {"x&y=z", "x%26y%3Dz"},
        {".", "%2E"},       {"..", "%2E%2E"},     {"...", "%2E%2E%2E"}, {"A.", "A."}};
    for (const auto& [symbol, encoded] : cases) EXPECT_EQ(quotes::UrlEncode(symbol), encoded);
}

// A source waits what its Retry-After asks, but never longer than 5 minutes.
TEST(Backoff, ARetryAfterIsTakenUpToFiveMinutes) {
    const struct {
        int asked;
        std::int64_t waitedMs;
    } cases[] = {{120, 120000}, {300, 300000}, {86400, 300000}, {-5, 0}};
    for (const auto& c : cases) {
        quotes::Backoff backoff;
        backoff.Failed(1000, c.asked);
        EXPECT_EQ(backoff.until(), 1000 + c.waitedMs) << c.asked;
        EXPECT_EQ(quotes::AsksTooLong(c.asked), c.asked > 300) << c.asked;
    }
}

// A throttled crumb call is a throttle: no chart call per symbol into it, and no crumb call
// for a minute.
TEST_F(RelayTest, AThrottledCrumbBacksOffWithoutChartCalls) {
    for (const UpstreamFault throttle : {UpstreamFault::tooMany, UpstreamFault::tooManyText}) {
        FakeUpstream upstream;
        upstream.Fail("/v1/test/getcrumb", throttle);
        std::vector<std::unique_ptr<quotes::QuoteSource>> sources;
        sources.push_back(std::make_unique<quotes::YahooSource>(Context(), Hosts(upstream), 1000));
        quotes::SourceChain chain(std::move(sources));
        const auto counts = [&] {
            return std::pair(upstream.Calls("/v1/test/getcrumb") + upstream.Calls("/q2/"),
                             upstream.Calls("/v8/"));
        };
        EXPECT_EQ(Ask(chain, "MSFT,AAPL", "sl1").status, 503);
        EXPECT_EQ(counts(), std::pair(1, 0));
        Advance(30);  // past the back-off, within the crumb's pause
        Ask(chain, "MSFT", "sl1");
        EXPECT_EQ(counts(), std::pair(1, 0));
        Advance(31);
        upstream.Fail("/v1/test/getcrumb", UpstreamFault::none);
        EXPECT_EQ(Ask(chain, "MSFT", "sl1").status, 200);
        EXPECT_EQ(counts(), std::pair(2, 0));
    }
}

// The cookie where it is given: through redirects and the consent wall, from the home page when
// fc.yahoo.com gives none, and the crumb from query2 when query1 refuses it.
TEST_F(RelayTest, TheSessionIsMadeWhereverYahooGivesIt) {
    using tickwell_test::CookiePage;
    const struct {
        CookiePage way;
        bool query1Refuses;
        const char* path;  // the call that made the difference, made once...
        int calls;         // ...or this often
        int homeCalls;
    } cases[] = {
        {CookiePage::redirects, false, "/hop/", 3, 0},
        {CookiePage::endless, false, "/hop/", 5, 1},
        {CookiePage::consentWall, false, "/v2/collectConsent", 1, 0},
        {CookiePage::none, false, "/home/", 1, 1},
        {CookiePage::plain, true, "/q2/v1/test/getcrumb", 1, 0},
    };
    for (const auto& c : cases) {
        upstream_.SetCookiePage(c.way);
        upstream_.Fail("/v1/test/getcrumb",
                       c.query1Refuses ? UpstreamFault::serverError : UpstreamFault::none);
        const int before = upstream_.Calls(c.path), homeBefore = upstream_.Calls("/home/");
        const int charts = upstream_.Calls("/v8/");
        auto chain = Chain(Yahoo());
        EXPECT_EQ(Ask(*chain, "MSFT", "sl1").body, "\"MSFT\",541.55\r\n") << c.path;
        EXPECT_EQ(upstream_.Calls(c.path) - before, c.calls) << c.path;
        EXPECT_EQ(upstream_.Calls("/home/") - homeBefore, c.homeCalls) << c.path;
        EXPECT_EQ(upstream_.Calls("/v8/"), charts) << c.path << ": v7 answered";
    }
}

// Throttled for a minute and more with nothing between: /status says since when, the log says
// it once, the next source answers meanwhile, and the first quote ends it.
TEST_F(RelayTest, AYahooThrottledForAMinuteIsBlockedAndSaysSince) {
    upstream_.Fail("/v7/finance/quote", UpstreamFault::tooMany);
    auto chain = Chain(Yahoo(1000), Finnhub());
    const std::int64_t at1402 = 20429 * 86400LL + 14 * 3600 + 2 * 60;
    const auto ask = [&](int wait) {
        Advance(wait);
        return Respond("/d/quotes.csv?s=AAPL&f=sl1", at1402 + wait, *chain).status;
    };
    const auto status = [&] { return Respond(quotes::kStatusPath, 0, *chain).body; };
    const auto blockedLines = [&] {
        std::lock_guard<std::mutex> lock(logMutex_);
        return std::count(log_.begin(), log_.end(),
                          "upstream yahoo blocked (throttled by the source since 14:02)");
    };
    for (const int wait : {0, 61, 11}) EXPECT_EQ(ask(wait), 200) << "finnhub answers";
    EXPECT_NE(status().find(
                  "yahoo: blocked (throttled by the source since 14:02), last error: status 429"),
              std::string::npos)
        << status();
    EXPECT_EQ(blockedLines(), 1);
    upstream_.Fail("/v7/finance/quote", UpstreamFault::none);
    ask(21);
    EXPECT_NE(status().find("yahoo: ok"), std::string::npos) << status();
    EXPECT_EQ(blockedLines(), 1);
}

// Finnhub's quota headers: no call before X-Ratelimit-Reset once none is left, or after a 429
// that names the reset without a Retry-After.
TEST_F(RelayTest, FinnhubMakesNoCallBeforeItsQuotaResets) {
    const std::int64_t utc = 1781532000;
    for (const bool tooMany : {false, true}) {
        FakeUpstream upstream;
        upstream.AddHeader("/api/v1/quote", "X-Ratelimit-Remaining", "0");
        upstream.AddHeader("/api/v1/quote", "X-Ratelimit-Reset", std::to_string(utc + 40));
        if (tooMany) upstream.Fail("/api/v1/quote", UpstreamFault::tooMany);
        std::vector<std::unique_ptr<quotes::QuoteSource>> sources;
        sources.push_back(std::make_unique<quotes::FinnhubSource>(Context(), upstream.url(),
                                                                  tickwell_test::kFakeKey));
        quotes::SourceChain chain(std::move(sources));
        std::vector<int> calls;
        for (const int at : {0, 31, 41}) {
            ms_ = 1'000'000 + at * 1000;
            Respond("/d/quotes.csv?s=AAPL" + std::to_string(at) + "&f=sl1", utc + at, chain);
            calls.push_back(upstream.Calls("/api/v1/quote"));
        }
        EXPECT_EQ(calls, (std::vector<int>{1, 1, 2})) << (tooMany ? "429" : "none left");
    }
}

// Past its limit, a source fetches what waited longest first: 16 symbols on 10 calls a minute
// are all quoted by the second refresh.
TEST_F(RelayTest, WhatWaitedLongestIsFetchedFirst) {
    std::vector<std::unique_ptr<quotes::QuoteSource>> sources;
    sources.push_back(std::make_unique<quotes::FinnhubSource>(Context(), upstream_.url(),
                                                              tickwell_test::kFakeKey, 10));
    quotes::SourceChain chain(std::move(sources));
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += (i ? ",F" : "F") + std::to_string(i);
    EXPECT_EQ(Ask(chain, sixteen, "sl1").status, 503);
    Advance(61);
    EXPECT_EQ(Ask(chain, sixteen, "sl1").status, 200);
}

// A listing a free key may not see goes to the next source and costs the others nothing; a
// quote of the last session while a session runs is served only when no other source answers.
TEST_F(RelayTest, FinnhubHandsOnWhatItMayNotSeeAndQuotesItHasNotRefreshed) {
    auto chain = Chain(Finnhub(), Yahoo());
    EXPECT_EQ(Ask(*chain, "R1NX", "sl1").body, "\"R1NX\",269.70\r\n");  // Yahoo's
    EXPECT_EQ(Ask(*chain, "AAPL", "sl1").body, "\"AAPL\",291.15\r\n");  // no back-off
    // Monday 15 June 2026, 10:00 in New York; the recorded quote is of Friday's close.
    const std::int64_t monday = 1781532000;
    Advance(31);
    EXPECT_EQ(Respond("/d/quotes.csv?s=AAPL&f=sl1", monday, *chain).body, "\"AAPL\",269.70\r\n");
    upstream_.Fail("/v7/", UpstreamFault::serverError);
    upstream_.Fail("/v8/", UpstreamFault::serverError);
    Advance(31);
    EXPECT_EQ(Respond("/d/quotes.csv?s=AAPL&f=sl1", monday, *chain).body, "\"AAPL\",291.15\r\n");
    const std::string status = Respond(quotes::kStatusPath, 0, *chain).body;
    EXPECT_NE(status.find("hits 2, stale quotes 2\n"), std::string::npos) << status;
}

// Twelve Data counts credits, a symbol each: 8 in any minute, 800 a UTC day.
TEST(CreditMeter, CountsSymbolsOverTheMinuteAndTheDay) {
    quotes::CreditMeter meter(8, 800);
    const std::int64_t day = 20000 * 86400LL;
    const struct {
        std::int64_t ms, utc;
        int wanted, taken;
    } steps[] = {
        {0, day, 5, 5},           {30'000, day + 30, 5, 3}, {59'999, day + 59, 1, 0},
        {60'000, day + 60, 8, 5}, {90'000, day + 90, 8, 3}, {200'000, day + 200, 0, 0},
    };
    for (const auto& step : steps)
        EXPECT_EQ(meter.Take(step.ms, step.utc, step.wanted), step.taken) << step.ms;
    EXPECT_EQ(meter.UsedToday(day + 200), 16);
    EXPECT_EQ(meter.Take(250'000, day + 250, 4), 4);
    meter.Refund(4);  // the call was not made
    EXPECT_EQ(meter.UsedToday(day + 250), 16);
    EXPECT_EQ(meter.UsedThisMinute(250'000), 0);
    meter.SpendMinute(300'000);
    EXPECT_EQ(meter.Take(300'001, day + 300, 1), 0);
    // The day's 800: a hundred minutes of 8, then nothing until 00:00 UTC.
    quotes::CreditMeter daily(8, 800);
    int taken = 0;
    for (int minute = 0; minute < 101; ++minute)
        taken += daily.Take(minute * 60'000LL, day + minute * 60, 8);
    EXPECT_EQ(taken, 800);
    EXPECT_EQ(daily.Take(86'400'000LL, day + 86400, 8), 8);
}

// A batch is cut to the credits left, the rest left to the next source; the credits error that
// comes with status 200 is a 429.
TEST_F(RelayTest, TwelveDataSpendsCreditsNotCalls) {
    auto chain = Chain(TwelveData(), Yahoo());
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += (i ? ",R" : "R") + std::to_string(1000 + i);
    EXPECT_EQ(Ask(*chain, ten, "sl1").status, 200);
    EXPECT_EQ(upstream_.Calls("/quote"), 1);
    EXPECT_EQ(upstream_.Calls("/v7/finance/quote"), 1);  // the two it could not afford
    const auto status = [&] { return Respond(quotes::kStatusPath, 0, *chain).body; };
    EXPECT_NE(status().find("credits 8 of 8 this minute, 8 of 800 today"), std::string::npos)
        << status();
    Advance(61);
    upstream_.Fail("/quote", UpstreamFault::outOfCredits);
    EXPECT_EQ(Ask(*chain, "R2000", "sl1").status, 200);  // Yahoo's
    EXPECT_NE(status().find("twelvedata: backing off for 60 s, last error: refused with code 429"),
              std::string::npos)
        << status();
}

TEST_F(RelayTest, BodiesThatAreNoQuotesAreFailuresWhateverTheirStatus) {
    for (UpstreamFault fault : {UpstreamFault::consentPage, UpstreamFault::truncatedJson,
                                UpstreamFault::hugeBody, UpstreamFault::stall}) {
        FakeUpstream upstream;
        upstream.Fail("/v7/", fault);
        upstream.Fail("/v8/", fault);
        std::vector<std::unique_ptr<quotes::QuoteSource>> sources;
        sources.push_back(std::make_unique<quotes::YahooSource>(Context(), Hosts(upstream, "")));
        quotes::SourceChain chain(std::move(sources));
        EXPECT_EQ(Ask(chain, "MSFT", "l1").status, 503) << static_cast<int>(fault);
        const int calls = upstream.Calls("/v");
        EXPECT_EQ(Ask(chain, "MSFT", "l1").status, 503);
        EXPECT_EQ(upstream.Calls("/v"), calls) << "backing off";
    }
}

TEST_F(RelayTest, WhenEverySourceFailsTheLastQuoteIsServedElse503) {
    auto chain = Chain(Yahoo());
    const std::string fresh = Ask(*chain, "MSFT", "sl1d1t1").body;
    upstream_.Fail("/v7/", UpstreamFault::serverError);
    upstream_.Fail("/v8/", UpstreamFault::serverError);
    Advance(31);
    EXPECT_EQ(Ask(*chain, "MSFT", "sl1d1t1").body, fresh);  // its own date and time
    const quotes::Reply none = Ask(*chain, "MSFT,AAPL2", "sl1");
    EXPECT_EQ(none.status, 503);
    EXPECT_EQ(none.body, quotes::kUnavailableBody);
}

// Yahoo's calls look like a browser's: its User-Agent, a page's Accept on the cookie call, the
// site's origin on the API calls, and the session (cookie, crumb) on every call once there is
// one, chart and history calls too.
TEST_F(RelayTest, YahooCallsLookLikeABrowsersAndCarryTheSession) {
    upstream_.Fail("/v7/", UpstreamFault::serverError);
    auto chain = Chain(Yahoo());
    Ask(*chain, "MSFT", "sl1");
    Respond("/table.csv?s=MSFT&g=d", 0, *chain);
    int checked = 0;
    for (const std::string& r : upstream_.Requests()) {
        const std::string path = r.substr(0, r.find('|'));
        EXPECT_NE(r.find("Chrome/"), std::string::npos) << r;
        EXPECT_NE(r.find("Safari/537.36"), std::string::npos) << r;
        EXPECT_NE(r.find("Accept-Language: en-US,en;q=0.9"), std::string::npos) << r;
        if (path == "/") {
            EXPECT_NE(r.find("Accept: text/html"), std::string::npos) << r;
            ++checked;
            continue;
        }
        EXPECT_NE(r.find("Origin: https://pages"), std::string::npos) << r;  // the site's pages
        EXPECT_NE(r.find("Referer: https://pages/"), std::string::npos) << r;
        EXPECT_NE(r.find("Cookie: A3=d=fakecookie"), std::string::npos) << r;
        if (path.rfind("/v8/", 0) == 0) {
            EXPECT_NE(path.find("&crumb="), std::string::npos) << r;
        }
        ++checked;
    }
    EXPECT_GE(checked, 5);  // cookie, crumb, v7, chart, history
    // --user-agent puts another.
    const auto http = quotes::MakeUpstreamHttp(2, "tickwell-test/1.0");
    http->Fetch({{upstream_.url() + "/api/v1/quote?symbol=MSFT", {}}});
    const auto sent = [&] {
        for (const std::string& r : upstream_.Requests()) {
            if (r.rfind("/api/v1/quote?symbol=MSFT|", 0) == 0) return r;
        }
        return std::string();
    };
    // The fake records a request once its answer is out: until it has, a failure bound.
    for (int i = 0; i < 1000 && sent().empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_NE(sent().find("User-Agent: tickwell-test/1.0"), std::string::npos) << sent();
}

TEST_F(RelayTest, SymbolsReachTheUpstreamEncodedAndKeysNeverLeave) {
    upstream_.Fail("/v7/", UpstreamFault::serverError);
    auto chain = Chain(Yahoo());
    Ask(*chain, "A%26B%3DC%2FD%23E%3FF", "sl1");
    bool v8 = false;
    for (const std::string& r : upstream_.Requests()) {
        if (r.rfind("/v7/", 0) == 0) {
            EXPECT_NE(r.find("symbols=A%26B%3DC%2FD%23E%3FF&crumb="), std::string::npos) << r;
        }
        v8 = v8 ||
             r.rfind("/v8/finance/chart/A%26B%3DC%2FD%23E%3FF?range=5d&interval=1d&crumb=", 0) == 0;
    }
    EXPECT_TRUE(v8);

    auto keyed = Chain(Finnhub(), TwelveData());
    std::string seen = Ask(*keyed, "AAPL,XQZW,MSFT", "sl1n").body + keyed->Status();
    upstream_.Fail("/api/", UpstreamFault::serverError);
    upstream_.Fail("/quote", UpstreamFault::tooMany);
    Advance(60);
    seen += Ask(*keyed, "IBM", "sl1").body + keyed->Status();
    for (const std::string& line : log_) seen += line + "\n";
    EXPECT_NE(seen.find("upstream finnhub quote symbols=1 status=200"), std::string::npos) << seen;
    EXPECT_EQ(seen.find(tickwell_test::kFakeKey), std::string::npos) << seen;
    for (const std::string& r : upstream_.Requests()) {
        EXPECT_EQ(r.substr(0, r.find('|')).find(tickwell_test::kFakeKey), std::string::npos) << r;
    }
}

}  // namespace

namespace {

TEST_F(RelayTest, HistoryComesFromTheSourcesCharts) {
    auto chain = Chain(Yahoo());
    const std::int64_t now = 1761850000;  // the day after the recording
    const quotes::Reply table =
        Respond("/table.csv?s=MSFT&a=4&b=1&c=2025&d=9&e=29&f=2025&g=d", now, *chain);
    ASSERT_EQ(table.status, 200);
    EXPECT_EQ(table.body.rfind(std::string(quotes::kHistoryHeader) +
                                   "2025-10-29,544.94,546.27,536.73,541.55,33295714,541.55\n"
                                   "2025-10-28,",
                               0),
              0u)
        << table.body.substr(0, 200);
    EXPECT_EQ(Respond("/table.csv?s=MSFT&g=v", now, *chain).body,
              std::string(quotes::kDividendHeader) + "2025-08-21,0.830000\n2025-05-15,0.830000\n");
    EXPECT_EQ(Respond("/table.csv?s=XQZW", now, *chain).status, 404);
    bool ranged = false;
    for (const std::string& r : upstream_.Requests()) {
        ranged =
            ranged ||
            r.rfind("/v8/finance/chart/MSFT?period1=1746057600&period2=1761782400&interval=1d|",
                    0) == 0;
    }
    EXPECT_TRUE(ranged);
}

// The chart page is drawn from the source's chart calls, which a second look within the minute
// does not repeat.
TEST_F(RelayTest, TheChartPageIsDrawnFromTheSourcesCharts) {
    auto chain = Chain(Yahoo());
    const auto chart = [&](const std::string& symbol) {
        return Respond("/raw?dp=page&pg=finance/quote_chart&s=" + symbol, 0, *chain);
    };
    const quotes::Reply page = chart("MSFT");
    ASSERT_EQ(page.status, 200) << page.body;
    for (const char* part : {"MSFT - Microsoft Corporation", "NasdaqGS", "541.55", "⣀",
                             "Last five sessions", "<svg", "Yahoo Finance"})
        EXPECT_NE(page.body.find(part), std::string::npos) << part;
    EXPECT_LT(page.body.size(), 64u * 1024);
    EXPECT_EQ(upstream_.Calls("/v8/finance/chart/MSFT"), 2);  // today's and the year's
    chart("MSFT");
    EXPECT_EQ(upstream_.Calls("/v8/finance/chart/MSFT"), 2);
    Advance(61);
    chart("MSFT");
    EXPECT_EQ(upstream_.Calls("/v8/finance/chart/MSFT"), 4);
    const quotes::Reply unknown = chart("XQZW%3Cb%3E");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_NE(unknown.body.find("No instrument is listed as XQZW&lt;b&gt;"), std::string::npos)
        << unknown.body;
}

// The news page is the headline feed read as XML: times in the exchange's zone, publishers,
// links only to the web, markup shown as text; kept five minutes.
TEST_F(RelayTest, TheNewsPageIsTheSourcesHeadlineFeedAsText) {
    auto chain = Chain(Yahoo());
    const auto news = [&](const std::string& symbol) {
        return Respond("/raw?dp=news&tn=_" + symbol, 0, *chain);
    };
    const quotes::Reply page = news("MSFT");
    ASSERT_EQ(page.status, 200) << page.body;
    for (const char* part :
         {"MSFT news - Microsoft Corporation", "Times are UTC-04:00.",
          "2025-10-29 16:05 Reuters: <a href=\"https://finance.example/a1\">Microsoft beats",
          "<br>Revenue rose 18%.</li>",
          "2025-10-28 05:30 Zürich fund buys Microsoft – a stake “worth €2bn”<br>A quiet purchase",
          "<li><a href=\"https://finance.example/a3\">Undated note</a></li>"})
        EXPECT_NE(page.body.find(part), std::string::npos) << part << "\n" << page.body;
    EXPECT_EQ(page.body.find("<script"), std::string::npos);
    EXPECT_EQ(page.body.find("javascript:"), std::string::npos);
    EXPECT_LT(page.body.find("Microsoft beats"), page.body.find("Zürich"));  // newest first
    news("MSFT");
    Advance(120);
    news("MSFT");
    EXPECT_EQ(upstream_.Calls("/rss/2.0/headline"), 1);  // five minutes a feed
    EXPECT_NE(news("R1000").body.find("No headlines for R1000 now."), std::string::npos);
    EXPECT_EQ(news("XQZW").status, 404);
    upstream_.Fail("/rss/", UpstreamFault::serverError);
    const quotes::Reply failed = news("R1001");
    EXPECT_EQ(failed.status, 503);
    EXPECT_NE(failed.body.find("could not be had (status 500)"), std::string::npos);
    // Where Yahoo has no headlines, Finnhub's company news with a key.
    auto keyed = Chain(Yahoo(), Finnhub());
    const quotes::Reply finnhub = Respond("/raw?dp=news&tn=_AAPL", 0, *keyed);
    EXPECT_NE(
        finnhub.body.find("2025-10-29 16:00 Wire: <a href=\"https://news.example/1\">Apple&#39;s "
                          "record quarter</a><br>Sales rose.</li>"),
        std::string::npos)
        << finnhub.body;
}

// The market summary is one spark call for every line, kept a minute; its movers are the
// symbols quoted in the last hour.
TEST_F(RelayTest, TheSummaryIsOneBatchedCallAndTheHoursMovers) {
    auto chain = Chain(Yahoo());
    Ask(*chain, "MSFT,AAPL", "sl1");
    const auto summary = [&] { return Respond("/palm/marketwatch/overview.asp", 0, *chain); };
    const quotes::Reply page = summary();
    ASSERT_EQ(page.status, 200) << page.body;
    for (const char* part : {"<td>S&amp;P 500</td><td align=\"right\">101.00</td>",
                             "<td>10-year Treasury yield</td><td align=\"right\">115.00</td>",
                             "+15.00%", "⠉", "<li>AAPL Apple Inc. 269.70 +0.26%</li>",
                             "<li>MSFT Microsoft Corporation 541.55 -0.10%</li>"})
        EXPECT_NE(page.body.find(part), std::string::npos) << part << "\n" << page.body;
    summary();
    EXPECT_EQ(upstream_.Calls("/v7/finance/spark"), 1);
    Advance(3601);
    const quotes::Reply later = summary();
    EXPECT_EQ(upstream_.Calls("/v7/finance/spark"), 2);
    EXPECT_EQ(later.body.find("<li>AAPL"), std::string::npos);  // quoted over an hour ago
}

// With keyed sources alone, the chart page is Twelve Data's two time series: two credits,
// none again while both are kept.
TEST_F(RelayTest, TwelveDataDrawsTheChartPageFromItsTimeSeries) {
    auto chain = Chain(Finnhub(), TwelveData());
    const auto chart = [&](const std::string& symbol) {
        return Respond("/raw?dp=page&pg=finance/quote_chart&s=" + symbol, 0, *chain);
    };
    const quotes::Reply page = chart("AAPL");
    ASSERT_EQ(page.status, 200) << page.body;
    for (const char* part : {"AAPL", "NASDAQ", "<td>269.70</td>", "+0.70 (+0.26%)",
                             "<td>268.00 - 269.80</td>", "Twelve Data", "Oct 28"})
        EXPECT_NE(page.body.find(part), std::string::npos) << part << "\n" << page.body;
    chart("AAPL");
    EXPECT_EQ(upstream_.Calls("/time_series"), 2);
    const std::string status = Respond(quotes::kStatusPath, 0, *chain).body;
    EXPECT_NE(status.find("credits 2 of 8 this minute"), std::string::npos) << status;
    EXPECT_EQ(chart("XQZW").status, 404);
}

TEST(RelayKeys, TheEnvironmentWinsAndAFileOthersCanReadIsNamed) {
    char dir[] = "/tmp/tickwell-keys-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/quotes.conf";
    {
        std::ofstream out(path);
        out << "# keys\nFINNHUB_API_KEY = \"fh-file\"\nTWELVEDATA_API_KEY=td-file # mine\n";
    }
    unsetenv("FINNHUB_API_KEY");
    setenv("TWELVEDATA_API_KEY", "td-env", 1);
    for (mode_t mode : {0600, 0644}) {
        chmod(path.c_str(), mode);
        std::string warning;
        const quotes::SourceKeys keys = quotes::LoadSourceKeys(path, warning);
        EXPECT_EQ(keys.finnhub, "fh-file");
        EXPECT_EQ(keys.twelvedata, "td-env");
        EXPECT_EQ(warning.empty(), mode == 0600) << warning;
        EXPECT_EQ(warning.find("fh-file"), std::string::npos);
    }
    unsetenv("TWELVEDATA_API_KEY");
    // Read within bounds: a line too long is skipped, and nothing past the first 64 KiB is read.
    for (const auto& [before, found] :
         {std::pair<std::size_t, const char*>{5000, "fh-next"}, {200000, ""}}) {
        std::ofstream(path) << std::string(before, 'x') << "\nFINNHUB_API_KEY=fh-next\n";
        chmod(path.c_str(), 0600);
        std::string warning;
        EXPECT_EQ(quotes::LoadSourceKeys(path, warning).finnhub, found) << before;
    }
    std::remove(path.c_str());
    rmdir(dir);
}

}  // namespace
