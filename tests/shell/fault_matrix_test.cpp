// Every way a quote server fails, end to end: the real viewer refreshes against a server with
// the fault, then against a healthy one. The fault shows exactly the message it has (or none),
// the data file stays as it was (or is rewritten from what did arrive), no row comes from a
// line that is no quote line, and the next refresh works.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/portfolio.h"
#include "platform/testing/faults.h"
#include "platform/user32/message_loop.h"
#include "support/scripted_server.h"
#include "support/service_process.h"
#include "support/viewer_fixture.h"

namespace {

using tickwell_test::HttpReplyBytes;
using tickwell_test::ScriptedReply;
using tickwell_test::ScriptedServer;
using tickwell_test::ServiceProcess;

constexpr const char* kNoServer = "Could not connect to the quote server, please try again later";
const std::vector<std::string> kClock = {"--clock", "2026-12-07T15:30:00Z"};

// A faulty server kept alive for the refresh; `route` says where the quote host goes.
struct Fault {
    std::shared_ptr<void> server;
    std::string route;
};

enum class After { unchanged, rewritten };

struct FaultCase {
    const char* name;
    std::function<Fault()> start;
    const char* message;  // null: none
    After file;
    bool firstRowUpdated;
    bool secondRowUpdated;
};

// Named in test output by its name, not its bytes.
void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.name;
}

Fault Service(std::vector<std::string> args) {
    args.insert(args.begin(), kClock.begin(), kClock.end());
    auto service = std::make_shared<ServiceProcess>(args);
    const int port = service->port();
    return {service, "::127.0.0.1:" + std::to_string(port)};
}

Fault Scripted(ScriptedReply reply) {
    auto server =
        std::make_shared<ScriptedServer>([reply](int, const std::string&) { return reply; });
    const int port = server->port();
    return {server, "::127.0.0.1:" + std::to_string(port)};
}

ScriptedReply Reset() {
    ScriptedReply r;
    r.reset = true;
    return r;
}

ScriptedReply Silent() {
    ScriptedReply r;
    r.silent = true;
    return r;
}

// The first row's line whole, half of the second, and then nothing for longer than the
// client waits for data.
ScriptedReply StallMidBody() {
    ScriptedReply r;
    r.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n\"MSFT\",1,2,3,4.25\r\n\"RY.TO\",5,6";
    r.stall = true;
    return r;
}

// The first row's line whole, then the second a byte at a time, never slow enough for the
// idle time-out: the request's deadline ends it.
ScriptedReply DripsPastTheDeadline() {
    ScriptedReply r = StallMidBody();
    r.bytes.resize(r.bytes.size() - 4);
    r.stall = false;
    r.drip = true;
    return r;
}

const FaultCase kFaults[] = {
    {"Refused",
     [] {
         return Fault{nullptr, "::127.0.0.1:" + std::to_string(tickwell_test::ClosedPort())};
     },
     kNoServer, After::unchanged, false, false},
    {"ResetBeforeTheReply", [] { return Scripted(Reset()); }, kNoServer, After::unchanged, false,
     false},
    {"AcceptsAndNeverAnswers", [] { return Scripted(Silent()); }, kNoServer, After::unchanged,
     false, false},
    {"UnresolvableHost",
     [] {
         return Fault{nullptr, "::no-such-host.invalid:80"};
     },
     kNoServer, After::unchanged, false, false},
    {"Status500", [] { return Service({"--status-500"}); }, kNoServer, After::unchanged, false,
     false},
    {"Status999", [] { return Service({"--status-999"}); }, kNoServer, After::unchanged, false,
     false},
    // A read that fails is not reported: what came whole is used.
    {"CutMidBody", [] { return Service({"--close-mid-body"}); }, nullptr, After::rewritten, true,
     false},
    {"StallMidBody", [] { return Scripted(StallMidBody()); }, nullptr, After::rewritten, true,
     false},
    {"DripsPastTheDeadline", [] { return Scripted(DripsPastTheDeadline()); }, nullptr,
     After::rewritten, true, false},
    {"Garbage", [] { return Service({"--garbage"}); }, nullptr, After::rewritten, false, false},
    {"Oversize", [] { return Service({"--oversize"}); }, nullptr, After::rewritten, true, true},
    {"TrickleFasterThanTheTimeOut", [] { return Service({"--trickle"}); }, nullptr,
     After::rewritten, true, true},
};

class FaultMatrixTest : public tickwell_test::ViewerTest,
                        public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultMatrixTest, OneMessageNothingLostAndTheNextRefreshWorks) {
    const FaultCase& fault = GetParam();
    platform::testing::SetInternetTimeouts(2000, 1, 3000);
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}, {u"RY", u"T"}});
    const auto before = FileBytes();
    Fault server = fault.start();
    ServiceProcess healthy(kClock);
    ::setenv("TICKWELL_CONNECT_TO", server.route.c_str(), 1);
    std::u16string lastAfterFault;
    device_.Key(VK_F1)
        .Check([&] {
            const std::vector<std::string> expected = fault.message
                                                          ? std::vector<std::string>{fault.message}
                                                          : std::vector<std::string>{};
            EXPECT_EQ(MessageTexts(), expected);
            EXPECT_EQ(PortfolioRowCount(), 2);  // no row from a line that is no quote line
            if (fault.file == After::unchanged) {
                EXPECT_EQ(FileBytes(), before);
            } else {
                EXPECT_EQ(FileBytes(), ExpectedFile());
            }
            lastAfterFault = Portfolio[0].lastPrice;
            EXPECT_EQ(lastAfterFault != u"*", fault.firstRowUpdated);
            EXPECT_EQ(std::u16string(Portfolio[1].lastPrice) != u"*", fault.secondRowUpdated);
            messages_.clear();
            RouteQuotesTo(healthy.port());
        })
        .Key(VK_F1)
        .Check([&] {
            EXPECT_TRUE(messages_.records().empty());
            EXPECT_NE(std::u16string(Portfolio[1].lastPrice), u"*");
            EXPECT_EQ(FileBytes(), ExpectedFile());
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

// A refresh has one deadline in all: a server that drips holds the first batch until it passes,
// no further batch is sent, and the refresh fails with the connection's message; the row that
// came stays in memory.
class RefreshDeadlineTest : public tickwell_test::ViewerTest {};

TEST_F(RefreshDeadlineTest, ARefreshOfSeveralBatchesHasOneDeadline) {
    platform::testing::SetInternetTimeouts(2000, 1, 3000);
    StoreSettings();
    std::vector<std::pair<std::u16string, std::u16string>> rows = {{u"MSFT", u"U"}, {u"RY", u"T"}};
    for (int i = 2; i < 120; ++i) {
        const std::string symbol = "R" + std::to_string(i);
        rows.push_back({std::u16string(symbol.begin(), symbol.end()), u"U"});
    }
    StoreRows(rows);
    const auto before = FileBytes();
    auto server = std::make_shared<ScriptedServer>(
        [](int, const std::string&) { return DripsPastTheDeadline(); });
    RouteQuotesTo(server->port());
    device_.Key(VK_F1)
        .Check([&] {
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{kNoServer});
            EXPECT_EQ(server->requests().size(), 1u);  // the later batches were never sent
            EXPECT_NE(std::u16string(Portfolio[0].lastPrice), u"*");
            EXPECT_EQ(FileBytes(), before);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrixTest, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
