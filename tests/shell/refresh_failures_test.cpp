// A refresh that goes wrong on the device's side: each failure shows its one message (caption
// "Error", no owner), leaves the data file as it was and adds no row; replies too long; a
// refresh that would start inside another. The server's failures are in fault_matrix_test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/kernel32/files.h"
#include "platform/testing/faults.h"
#include "platform/user32/message_loop.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "support/scripted_server.h"
#include "support/service_process.h"
#include "support/viewer_fixture.h"

namespace {

using platform::testing::FailingCall;
using tickwell_test::HttpReplyBytes;
using tickwell_test::ScriptedReply;
using tickwell_test::ScriptedServer;
using tickwell_test::ServiceProcess;

constexpr const char* kNoServer = "Could not connect to the quote server, please try again later";

class RefreshFailureTest : public tickwell_test::ViewerTest {
protected:
    void SetUp() override {
        tickwell_test::ViewerTest::SetUp();
        StoreSettings();
        StoreRows({{u"MSFT", u"U"}, {u"RY", u"T"}});
        before_ = FileBytes();
    }

    // F1 once, with `during` run just before it; the messages shown by the refresh.
    std::vector<std::string> Refresh(const std::function<void()>& during = [] {}) {
        device_.Check(during).Key(VK_F1).Key('Q', false, true);
        EXPECT_EQ(Start(), 0);
        for (const auto& record : messages_.records()) {
            EXPECT_EQ(record.caption, u"Error");
            EXPECT_EQ(record.owner, nullptr);
        }
        return MessageTexts();
    }

    // The refresh failed without a trace: the file as it was, the rows as they were.
    void ExpectNothingChanged() {
        EXPECT_EQ(FileBytes(), before_);
        EXPECT_EQ(PortfolioRowCount(), 2);
        EXPECT_EQ(std::u16string(Portfolio[0].lastPrice), u"*");
    }

    std::vector<unsigned char> before_;
};

TEST_F(RefreshFailureTest, NoSession) {
    const auto messages =
        Refresh([] { platform::testing::SetCallFailure(FailingCall::internetOpen, true); });
    EXPECT_EQ(messages, std::vector<std::string>{"Could not find an Internet connection"});
    ExpectNothingChanged();
}

TEST_F(RefreshFailureTest, NoConnection) {
    const auto messages =
        Refresh([] { platform::testing::SetCallFailure(FailingCall::internetConnect, true); });
    EXPECT_EQ(messages, std::vector<std::string>{kNoServer});
    ExpectNothingChanged();
}

TEST_F(RefreshFailureTest, NoMemoryForTheReply) {
    const auto messages = Refresh([] { platform::testing::SetAllocationFailure(true); });
    EXPECT_EQ(messages, std::vector<std::string>{"Could not allocate enough memory"});
    ExpectNothingChanged();
}

TEST_F(RefreshFailureTest, TheDataFileCannotBeCreated) {
    ServiceProcess service({"--clock", "2026-12-07T15:30:00Z"});
    RouteQuotesTo(service.port());
    HANDLE held = INVALID_HANDLE_VALUE;
    const auto messages = Refresh([&] {
        // Another holder of the file: the replace cannot open it.
        held = CreateFileW(u"/PIVData/PIVData.PIV", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    });
    CloseHandle(held);
    EXPECT_EQ(messages, std::vector<std::string>{"Could not open file"});
    EXPECT_EQ(FileBytes(), before_);
    EXPECT_NE(std::u16string(Portfolio[0].lastPrice), u"*");  // kept in memory for next time
}

TEST_F(RefreshFailureTest, TheDataFilesSizeCannotBeFound) {
    ServiceProcess service({"--clock", "2026-12-07T15:30:00Z"});
    RouteQuotesTo(service.port());
    const auto messages =
        Refresh([] { platform::testing::SetCallFailure(FailingCall::getFileSize, true); });
    EXPECT_EQ(messages, std::vector<std::string>{"Could not find file size"});
    EXPECT_EQ(FileBytes(), before_);
}

// A reply of `size` bytes: quote lines for R0, R1, ... of 100 bytes each (CR LF included).
std::string LinesOf(std::size_t size) {
    std::string body;
    for (int i = 0; body.size() < size; ++i) {
        std::string line = "\"R" + std::to_string(i) + "\",1.00,2,3," + std::to_string(i) + ".5";
        line += "," + std::string(100 - 2 - line.size() - 1, '9') + "\r\n";
        body += line;
    }
    return body.substr(0, size);
}

class LongReplyTest : public RefreshFailureTest,
                      public ::testing::WithParamInterface<std::size_t> {};

TEST_P(LongReplyTest, OfALongReplyTheFirst12288BytesAreUsed) {
    // With reads of 4,096 bytes, a fourth read would start with 12,288 held: there is none.
    // The line that runs over the 12,288th byte is cut, and left out.
    StoreRows({{u"R0", u"U"}});
    const std::size_t size = GetParam();
    ScriptedServer server(
        [&](int, const std::string&) { return ScriptedReply{HttpReplyBytes(200, LinesOf(size))}; });
    RouteQuotesTo(server.port());
    EXPECT_TRUE(Refresh().empty());
    EXPECT_EQ(PortfolioRowCount(), 122);  // lines 0 to 121 lie wholly in 12,288 bytes
    EXPECT_EQ(std::u16string(Portfolio[121].symbol), u"R121");
    EXPECT_EQ(std::u16string(Portfolio[121].lastPrice), u"121.5");
}

INSTANTIATE_TEST_SUITE_P(Sizes, LongReplyTest, ::testing::Values(20000u, 15000u));

TEST_F(RefreshFailureTest, NoRefreshStartsInsideAnother) {
    // The error box's loop delivers the refresh timer's tick; that tick starts no second
    // download, and so no second box.
    const platform::MessageBoxHook recorder = platform::SetMessageBoxHook({});
    ScriptedServer server(
        [](int, const std::string&) { return ScriptedReply{HttpReplyBytes(500, "down")}; });
    RouteQuotesTo(server.port());
    device_.Check([&] { SetTimer(mainWindow, RefreshTimer::kId, 60000, nullptr); })
        .Key(VK_F1)
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"Could not connect to the quote server"),
                      std::u16string::npos);
        })
        .Advance(60000)
        .Advance(60000)
        .Check([&] { EXPECT_EQ(server.requests().size(), 1u); })
        .Key(VK_RETURN)  // the box goes
        .Check([&] {
            EXPECT_EQ(device_.Text().find(u"Could not connect"), std::u16string::npos);
            EXPECT_TRUE(IsWindowEnabled(mainWindow));
        })
        .Advance(60000)  // a tick now refreshes again
        .Check([&] { EXPECT_EQ(server.requests().size(), 2u); })
        .Key(VK_RETURN)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    platform::SetMessageBoxHook(recorder);
}

}  // namespace
