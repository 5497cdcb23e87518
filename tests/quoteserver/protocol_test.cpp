// The service as a client meets it: over a loopback socket, on an ephemeral port.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/host/utf.h"
#include "quotes/quote_batch.h"
#include "support/fake_upstream.h"
#include "support/service_process.h"

namespace {

using tickwell_test::Get;
using tickwell_test::Lines;
using tickwell_test::SendRaw;
using tickwell_test::ServiceProcess;

const std::string kClock = "2026-12-07T15:30:00Z";
const std::string kTags = "&d=t&f=sperl1c1p2vj1kjd1t1ghnj2";

class ProtocolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { service_ = new ServiceProcess({"--clock", kClock}); }
    static void TearDownTestSuite() {
        delete service_;
        service_ = nullptr;
    }
    static int Port() { return service_->port(); }
    static ServiceProcess* service_;
};
ServiceProcess* ProtocolTest::service_ = nullptr;

TEST_F(ProtocolTest, QuotedAndUnquotedListsGiveTheSameLines) {
    const auto plain = Get(Port(), "/d/quotes.csv?s=MSFT,RY.TO" + kTags);
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.status, 200);
    EXPECT_NE(plain.headers.find("text/plain"), std::string::npos);
    const auto lines = Lines(plain.body);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 7), "\"MSFT\",");
    EXPECT_EQ(lines[1].substr(0, 8), "\"RY.TO\",");
    EXPECT_EQ(plain.body.substr(plain.body.size() - 2), "\r\n");
    for (const std::string spelling :
         {"\"MSFT,RY.TO\"", "%22MSFT,RY.TO%22", "MSFT+RY.TO", "%22MSFT%2CRY%2ETO%22"}) {
        EXPECT_EQ(Get(Port(), "/d/quotes.csv?s=" + spelling + kTags).body, plain.body) << spelling;
    }
    EXPECT_EQ(Get(Port(), "/d/quotes.csv?e=.csv&f=sperl1c1p2vj1kjd1t1ghnj2&s=MSFT,RY.TO").body,
              plain.body);
}

TEST_F(ProtocolTest, AbsoluteFormAndHttp10WithoutHost) {
    const auto direct = Get(Port(), "/d/quotes.csv?s=MSFT" + kTags);
    const auto proxied =
        SendRaw(Port(), "GET http://download.finance.example/d/quotes.csv?s=MSFT" + kTags +
                            " HTTP/1.1\r\nHost: download.finance.example\r\n"
                            "Connection: close\r\n\r\n");
    EXPECT_EQ(proxied.status, 200);
    EXPECT_EQ(proxied.body, direct.body);
    const std::string request = "GET /d/quotes.csv?s=MSFT" + kTags + " HTTP/1.0\r\n\r\n";
    // An HTTP/1.0 client gets one reply, told the connection closes, and nothing more.
    const auto replies = tickwell_test::SendKeepAlive(Port(), {request, request});
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].status, 200);
    EXPECT_EQ(replies[0].body, direct.body);
    EXPECT_NE(replies[0].headers.find("Connection: close\r\n"), std::string::npos);
    EXPECT_EQ(replies[0].headers.find("Keep-Alive"), std::string::npos) << replies[0].headers;
    EXPECT_FALSE(replies[1].ok);
    EXPECT_NE(direct.headers.find("Connection: close"), std::string::npos);  // asked for
}

TEST_F(ProtocolTest, KeepAliveServesSeveralRequestsOnOneConnection) {
    const std::string request = "GET /d/quotes.csv?s=MSFT&f=sl1 HTTP/1.1\r\nHost: x\r\n\r\n";
    const auto replies = tickwell_test::SendKeepAlive(Port(), {request, request, request});
    ASSERT_EQ(replies.size(), 3u);
    for (const auto& reply : replies) {
        EXPECT_TRUE(reply.ok);
        EXPECT_EQ(reply.body, replies[0].body);
    }
}

TEST_F(ProtocolTest, ErrorsAndLimits) {
    EXPECT_EQ(Get(Port(), "/d/quotes.csv?s=&f=sl1").body, "Missing Symbols List.");
    EXPECT_EQ(Get(Port(), "/d/quotes.csv?s=MSFT").body, "Missing Format Variable.");
    std::string many;
    for (int i = 0; i < 230; ++i) many += (i ? "," : "") + std::string("MSFT");
    EXPECT_EQ(Lines(Get(Port(), "/d/quotes.csv?s=" + many + "&f=s").body).size(), 200u);
    EXPECT_EQ(Get(Port(), "/etc/passwd").status, 404);
    EXPECT_EQ(Get(Port(), "/d/quotes.csv/../../etc/passwd").status, 404);
    const auto huge = Get(Port(), "/d/quotes.csv?s=" + std::string(10000, 'A') + "&f=s");
    EXPECT_GE(huge.status, 400);
    EXPECT_LT(huge.status, 500);
}

TEST_F(ProtocolTest, TheViewersRequestsFindEveryExchange) {
    // One row on every exchange, requested the way the viewer builds its batches: each reply
    // line's symbol maps back to the row's exchange code.
    ClearPortfolio();
    const char16_t* symbols[] = {
        u"MSFT", u"RY",     u"AMY",    u"ZCH27",  u"ESH27",  u"KCH27",  u"GCG27",  u"CLF27",
        u"ABCP", u"NSRGY",  u"GGAL",   u"EBS",    u"BHP",    u"PETR4",  u"600519", u"000858",
        u"DSV",  u"MC",     u"SAP",    u"BAYN",   u"EOAN",   u"ADS",    u"AIXA",   u"CON",
        u"MUV2", u"P911",   u"SAP",    u"0005",   u"500325", u"INFY",   u"BBCA",   u"TEVA",
        u"ENI",  u"005930", u"247540", u"WALMEX", u"ASML",   u"FPH",    u"EQNR",   u"D05",
        u"CABK", u"BBVA",   u"ES10Y",  u"ITX",    u"SAN",    u"VOLV-B", u"NESN",   u"6488",
        u"2330", u"VOD"};
    for (int i = 0; i < kExchangeCount; ++i) {
        const char16_t code[] = {ExchangeTable[i].code, 0};
        ASSERT_EQ(AppendQuoteRow(symbols[i], code), i);
    }
    char16_t path[kQuotePathWidth];
    ASSERT_EQ(BuildQuoteBatch(0, path), 200);
    const auto reply = Get(Port(), platform::ToUtf8(path));
    const auto lines = Lines(reply.body);
    ASSERT_EQ(lines.size(), 50u);
    for (int i = 0; i < kExchangeCount; ++i) {
        const std::string& line = lines[i];
        const std::size_t close = line.find('"', 1);
        const std::string symbol = line.substr(1, close - 1);
        const std::size_t dot = symbol.find('.');
        const char16_t expected = ExchangeTable[i].code;
        if (dot == std::string::npos) {
            EXPECT_EQ(expected, u'U') << line;
        } else {
            const auto suffix = platform::FromUtf8(symbol.substr(dot + 1));
            EXPECT_EQ(CodeForSuffix(suffix->c_str()), expected) << line;
        }
        EXPECT_EQ(line.find("N/A,N/A,N/A,0.00,N/A"), std::string::npos) << "unknown: " << line;
    }
}

TEST_F(ProtocolTest, MalformedInputGets4xxAndTheServiceLives) {
    for (const std::string& request :
         {std::string("GARBAGE\r\n\r\n"), std::string("GET\r\n\r\n"),
          std::string("GET / HTTP/9.9\r\n\r\n"),
          "GET /d/quotes.csv HTTP/1.1\r\n" + std::string(9000, 'X') + ": y\r\n\r\n",
          std::string("POST /d/quotes.csv HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n")}) {
        const auto reply = SendRaw(Port(), request, 2000);
        if (reply.status != 0) {
            EXPECT_GE(reply.status, 400) << request.substr(0, 40);
            EXPECT_LT(reply.status, 500) << request.substr(0, 40);
        }
    }
    std::mt19937 random(5);
    for (int round = 0; round < 150; ++round) {
        std::string bytes = round % 3 ? "GET /d/quotes.csv?s=" : "";
        const std::size_t length = random() % 300;
        for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>(random());
        bytes += "\r\n\r\n";
        SendRaw(Port(), bytes, 300);
    }
    EXPECT_TRUE(service_->running());
    EXPECT_EQ(Get(Port(), "/d/quotes.csv?s=MSFT&f=s").body, "\"MSFT\"\r\n");
}

TEST(ProtocolClock, FixedClockRepeatsAcrossRuns) {
    std::string first;
    for (int run = 0; run < 2; ++run) {
        ServiceProcess service({"--clock", kClock});
        const auto reply = Get(service.port(), "/d/quotes.csv?s=MSFT,VOD.L,^GSPC" + kTags);
        if (run == 0)
            first = reply.body;
        else
            EXPECT_EQ(reply.body, first);
    }
    ServiceProcess later({"--clock", "2026-12-07T15:45:00Z"});
    EXPECT_NE(Get(later.port(), "/d/quotes.csv?s=MSFT,VOD.L,^GSPC" + kTags).body, first);
}

TEST(ProtocolService, StopsCleanlyOnSigterm) {
    ServiceProcess service;
    ASSERT_GT(service.port(), 0);
    EXPECT_EQ(Get(service.port(), "/pdapage.htm").status, 200);
    EXPECT_EQ(service.Stop(), 0);
}

TEST(ProtocolPages, ChartNewsOverviewAndMaker) {
    ServiceProcess service({"--clock", kClock});
    const auto chart = Get(service.port(), "/raw?dp=page&pg=finance/quote_chart&s=RY.TO");
    EXPECT_EQ(chart.status, 200);
    EXPECT_NE(chart.body.find("<svg"), std::string::npos);
    EXPECT_NE(chart.body.find("Royal Bank of Canada"), std::string::npos);
    EXPECT_EQ(chart.body.find("<script"), std::string::npos);
    const auto news = Get(service.port(), "/raw?dp=news&tn=_MSFT");
    EXPECT_NE(news.body.find("<li>Microsoft Corporation"), std::string::npos);
    const auto overview = Get(service.port(), "/palm/marketwatch/overview.asp");
    EXPECT_NE(overview.body.find("S&amp;P 500"), std::string::npos);
    EXPECT_NE(overview.body.find("Biggest gainers"), std::string::npos);
    EXPECT_NE(Get(service.port(), "/pdapage.htm").body.find("Tickwell"), std::string::npos);
    EXPECT_EQ(Get(service.port(), "/raw?dp=page&pg=finance/quote_chart&s=%3Cb%3E").body.find("<b>"),
              std::string::npos);
}

// The pages read well in a terminal browser: the chart page's prices are text as well as a
// picture. w3m shows the page as a terminal user sees it.
// A page as a terminal browser shows it at 80 columns ("w3m -dump -cols 80", "lynx -dump
// -width=80 ..."), through a file as a viewer's browser reads it.
std::string Dumped(const std::string& html, const std::string& browser) {
    char path[] = "/tmp/tickwell-page-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) return "";
    const bool written = ::write(fd, html.data(), html.size()) == static_cast<ssize_t>(html.size());
    ::close(fd);
    std::string text;
    if (FILE* dump = written ? ::popen((browser + " " + path).c_str(), "r") : nullptr) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, dump)) > 0;)
            text.append(buffer, n);
        ::pclose(dump);
    }
    ::unlink(path);
    return text;
}

// Every line within 80 columns (a Braille cell is three bytes, one column) and no tag left.
void ExpectReadable(const std::string& text, const std::string& what) {
    ASSERT_FALSE(text.empty()) << what << ": the browser gave nothing";
    std::size_t at = 0;
    for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = text.substr(at, end - at);
        std::size_t columns = 0;
        for (const char c : line) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        EXPECT_LE(columns, 80u) << what << ": " << line;
        EXPECT_EQ(line.find('<'), std::string::npos) << what << ": " << line;
    }
}

// The chart, news and summary pages, simulated and relayed from the fake upstream, as w3m and
// lynx show them in an 80-column terminal.
TEST(ProtocolPages, EveryPageReadsAsTextInTerminalBrowsers) {
    tickwell_test::FakeUpstream upstream;
    ServiceProcess simulated({"--clock", "2026-12-07T15:30:00Z"});
    ServiceProcess live({"--source", "yahoo", "--upstream", "yahoo=" + upstream.url()});
    const struct {
        const ServiceProcess& service;
        const char* target;
        std::vector<const char*> shown;  // texts each browser shows
    } pages[] = {
        {simulated,
         "/raw?dp=page&pg=finance/quote_chart&s=MSFT",
         {"MSFT - Microsoft Corporation", "9:30", "Jan", "⣀", "Last five sessions", "2026-12-07"}},
        {simulated, "/raw?dp=news&tn=_MSFT", {"MSFT news (simulated headlines)", "Microsoft"}},
        {simulated, "/palm/marketwatch/overview.asp", {"S&P 500", "Nikkei 225", "Biggest losers"}},
        {live,
         "/raw?dp=page&pg=finance/quote_chart&s=MSFT",
         {"MSFT - Microsoft Corporation", "NasdaqGS", "541.55", "Yahoo Finance"}},
        {live, "/raw?dp=news&tn=_MSFT", {"Microsoft beats estimates", "Zürich fund buys"}},
        {live, "/palm/marketwatch/overview.asp", {"10-year Treasury yield", "Hang Seng"}},
    };
    for (const auto& page : pages) {
        const auto reply = Get(page.service.port(), page.target);
        ASSERT_EQ(reply.status, 200) << page.target << "\n" << reply.body;
        EXPECT_LT(reply.body.size(), 64u * 1024);
        EXPECT_EQ(reply.body.find("<script"), std::string::npos);
        for (const std::string browser :
             {"w3m -dump -cols 80 -T text/html",
              "lynx -dump -force_html -width=80 -nolist -display_charset=utf-8"}) {
            const std::string text = Dumped(reply.body, browser);
            const std::string what = browser.substr(0, browser.find(' ')) + " " + page.target;
            ExpectReadable(text, what);
            for (const char* shown : page.shown)
                EXPECT_NE(text.find(shown), std::string::npos) << what << ": " << shown << "\n"
                                                               << text;
        }
    }
}

}  // namespace
