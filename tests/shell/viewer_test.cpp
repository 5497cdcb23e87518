// The viewer end to end on the headless device, with the real tickwell-quotes as its quote
// server: what it shows at start, a refresh, the proxy, the timer, the low-memory notice.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/testing/faults.h"
#include "platform/user32/message_loop.h"
#include "quotes/quote_line.h"
#include "settings/proxy_settings.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "support/scripted_server.h"
#include "support/service_process.h"
#include "support/viewer_fixture.h"

namespace {

using tickwell_test::LoggedRequest;
using tickwell_test::Narrow;
using tickwell_test::ParseLog;
using tickwell_test::ScriptedReply;
using tickwell_test::ScriptedServer;
using tickwell_test::ServiceProcess;

const std::vector<std::string> kMarketOpen = {"--clock", "2026-12-07T15:30:00Z"};
const std::string kTags = "\"&d=t&f=sperl1c1p2vj1kjd1t1ghnj2";

class ViewerTest : public tickwell_test::ViewerTest {
protected:
    std::u16string Cell(int item, int sub) const {
        char16_t text[32] = {};
        platform::ListViewCtrl(quoteListView).GetItemText(item, sub, text, 32);
        return text;
    }
    bool OnScreen(const std::u16string& text) const {
        return device_.Text().find(text) != std::u16string::npos;
    }
};

TEST_F(ViewerTest, TheFirstStartShowsMsftWithEveryColumn) {
    device_
        .Check([&] {
            EXPECT_EQ(visibleColumnCount, 18);
            EXPECT_NE(Title().find(u"PIV- 9:05( 1)"), std::u16string::npos) << Narrow(Title());
            EXPECT_EQ(device_.Row(2).substr(0, 32), u"Symbol     Exch     Last $    Ch");
            for (const char16_t* title : {u" Prev Close ", u" Last Trd Date ", u" Trade Time "})
                EXPECT_NE(device_.Row(2).find(title), std::u16string::npos) << Narrow(title);
            EXPECT_EQ(device_.Row(3).substr(0, 20),
                      u"  MSFT     USA      ");  // no change known yet: no mark
            EXPECT_EQ(Cell(0, 2), u"*");
            EXPECT_EQ(Cell(0, 18), u"0");
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    // The file of the first start: the byte-order mark and MSFT's record.
    EXPECT_EQ(FileBytes().size(), 84u);
}

// The bar names the quit key at its right end; F10 presses the navigation bar's [ok], as Ctrl+Q
// does, and the viewer ends with 0.
TEST_F(ViewerTest, F10QuitsAndTheBarSaysSo) {
    device_
        .Check([&] {
            const std::u16string bar = device_.Row(device_.screen().rows() - 2);  // 26 pixels
            EXPECT_EQ(bar.substr(bar.size() - 10), u" F10 Quit ") << Narrow(bar);
        })
        .Key(VK_F10);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(FileBytes().size(), 84u);
}

// Scrolled right, the list keeps the Symbol column in place, and marks at the header's ends
// say where more columns lie.
TEST_F(ViewerTest, TheSymbolColumnStaysWhenTheListScrolls) {
    device_
        .Check([&] {
            EXPECT_EQ(device_.Row(2).back(), u'\u25B8');
            EXPECT_EQ(device_.Row(2).find(u'\u25C2'), std::u16string::npos);
        })
        .Key(VK_RIGHT)
        .Key(VK_RIGHT)
        .Check([&] {
            const std::u16string header = device_.Row(2);
            EXPECT_EQ(header.substr(0, 6), u"Symbol");
            EXPECT_NE(header.find(u'\u25C2'), std::u16string::npos);
            EXPECT_EQ(header.find(u"Exch"), std::u16string::npos);  // scrolled away
            EXPECT_EQ(device_.Row(3).substr(0, 6), u"  MSFT");
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(ViewerTest, ALaterStartShowsTheStoredRowsInTheStoredColumns) {
    StoreSettings(false);
    WriteSettingFlag(u"Exchange", true);
    WriteSettingFlag(u"CoName", true);
    StoreRows({{u"MSFT", u"U"}, {u"RY", u"T"}, {u"VOD", u"G"}});
    device_
        .Check([&] {
            EXPECT_EQ(visibleColumnCount, 3);
            EXPECT_EQ(device_.Row(2).substr(0, 30), u"Symbol     Exch   Company Name");
            EXPECT_EQ(device_.Row(4).substr(0, 14), u"  RY       TO ");
            EXPECT_EQ(device_.Row(5).substr(0, 14), u"  VOD      L  ");
            EXPECT_NE(Title().find(u"( 3)"), std::u16string::npos);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(ViewerTest, ARefreshOf120RowsIsThreeRequestsOnOneConnection) {
    ServiceProcess service = ServiceProcess::Logged(kMarketOpen);
    RouteQuotesTo(service.port());
    StoreSettings();
    std::vector<std::pair<std::u16string, std::u16string>> rows = {
        {u"MSFT", u"U"}, {u"IBM", u"U"}, {u"RY", u"T"}, {u"VOD", u"G"}};
    std::vector<std::string> requested = {"MSFT", "IBM", "RY.TO", "VOD.L"};
    for (int i = 4; i < 120; ++i) {
        const std::string name = "R" + std::to_string(1000 + i);
        rows.push_back({std::u16string(name.begin(), name.end()), u"U"});
        requested.push_back(name);
    }
    StoreRows(rows);
    std::vector<LoggedRequest> log;
    device_.Key(VK_F1)
        .Check([&] {
            log = ParseLog(service.WaitForLog(3));
            EXPECT_NE(Title().find(u"PIV- 9:05(120)"), std::u16string::npos) << Narrow(Title());
            EXPECT_EQ(device_.Row(3).substr(0, 6), u"\u25BC MSFT");  // down at this hour
            EXPECT_NE(Cell(0, 2), u"*");                             // a price
            EXPECT_EQ(Cell(119, 0), u"R1119");
            EXPECT_EQ(Cell(119, 18), u"119");
            EXPECT_TRUE(messages_.records().empty());
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);

    ASSERT_EQ(log.size(), 3u);
    const auto batch = [&](int first, int last) {
        std::string list;
        for (int i = first; i <= last; ++i) list += (i > first ? "," : "") + requested[i];
        return "GET /d/quotes.csv?s=\"" + list + kTags + " HTTP/1.1";
    };
    EXPECT_EQ(log[0].line, batch(0, 49));
    EXPECT_EQ(log[1].line, batch(50, 99));
    EXPECT_EQ(log[2].line, batch(100, 119));
    EXPECT_EQ(log[1].clientPort, log[0].clientPort);  // one kept-alive connection
    EXPECT_EQ(log[2].clientPort, log[0].clientPort);
    for (const LoggedRequest& r : log) EXPECT_EQ(r.status, 200);

    // The rows hold the service's values, and the file holds the rows.
    const auto direct = tickwell_test::Get(service.port(), "/d/quotes.csv?s=MSFT&f=l1");
    EXPECT_EQ(Narrow(Portfolio[0].lastPrice) + "\r\n", direct.body);
    EXPECT_EQ(std::u16string(Portfolio[2].exchangeCode), u"T");
    EXPECT_EQ(PortfolioRowCount(), 120);
    EXPECT_EQ(FileBytes(), ExpectedFile());
}

TEST_F(ViewerTest, WhatTheServerSendsReachesTheRowsAndTheFile) {
    // Unknown symbols appended by a reply show from the list's next rebuild; the first
    // download that matches a row rebuilds the list.
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}});
    ScriptedServer server([](int index, const std::string&) {
        const std::string body =
            index == 0 ? "\"NEW\",1.00,N/A,N/A,1.10,+0.10,\"+10.00%\",5,N/A,2,1,\"12/7/2026\","
                         "\"9:30am\",1,1.2,\"New \xC9tude, Inc.\",  1,000\r\n"
                       : "\"MSFT\",29.12,1.392,20.93,29.36,-0.24,\"-0.82%\",45716300,289.1B,"
                         "30.26,21.46,\"12/1/2006\",\"4:00pm\",28.97,29.55,\"MICROSOFT CP\","
                         "  9,846,000,000\r\n";
        return ScriptedReply{tickwell_test::HttpReplyBytes(200, body)};
    });
    RouteQuotesTo(server.port());
    device_.Key(VK_F1)
        .Check([&] {
            ASSERT_EQ(PortfolioRowCount(), 2);
            // The comma inside the quoted name is no separator: the name keeps its place.
            EXPECT_EQ(std::u16string(Portfolio[1].companyName), u"New \u00C9tude Inc.");
            EXPECT_EQ(std::u16string(Portfolio[1].sharesOut), u"1000");
            // Updated in place: the new row is counted but not listed yet.
            EXPECT_NE(Title().find(u"( 2)"), std::u16string::npos);
            EXPECT_EQ(platform::ListViewCtrl(quoteListView).GetItemCount(), 1);
            EXPECT_FALSE(quoteRowMatched);
        })
        .Key(VK_F1)
        .Check([&] {
            EXPECT_TRUE(quoteRowMatched);
            EXPECT_EQ(platform::ListViewCtrl(quoteListView).GetItemCount(), 2);
            EXPECT_EQ(Cell(0, 2), u"29.36");
            // Up, down and unchanged have glyphs of their own, not only colours.
            EXPECT_NE(device_.Text().find(u"\u25B2 NEW"), std::u16string::npos);
            EXPECT_EQ(device_.screen().At(0, 3).fg, Color::red);  // MSFT went down
            EXPECT_EQ(device_.screen().At(0, 3).ch, u'\u25BC');
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(FileBytes(), ExpectedFile());
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].substr(0, requests[1].find("\r\n")),
              "GET /d/quotes.csv?s=\"MSFT,NEW" + kTags + " HTTP/1.1");
    EXPECT_NE(requests[0].find("\r\nUser-Agent: IE6\r\n"), std::string::npos) << requests[0];
    EXPECT_NE(requests[0].find("\r\nHost: download.finance.yahoo.com\r\n"), std::string::npos);
    EXPECT_EQ(server.connections(), 2);  // a connection of its own for each refresh
}

TEST_F(ViewerTest, ThroughTheProxyTheTargetIsAbsolute) {
    // The settings keep a port of four digits at most.
    const int free = tickwell_test::FreePortBelow10000();
    ASSERT_GT(free, 0);
    std::vector<std::string> args = kMarketOpen;
    args.insert(args.end(), {"--port", std::to_string(free)});
    ServiceProcess service = ServiceProcess::Logged(args);
    ASSERT_EQ(service.port(), free);
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}, {u"RY", u"T"}});
    WriteSettingText(kProxySetting, u"127.0.0.1");
    const std::string port = std::to_string(service.port());
    WriteSettingText(kPortSetting, std::u16string(port.begin(), port.end()).c_str());
    WriteSettingText(kUseProxySetting, u"1");
    device_.Key(VK_F1)
        .Check([&] {
            EXPECT_TRUE(proxySettings.useProxy);
            EXPECT_TRUE(messages_.records().empty());
            EXPECT_NE(Cell(1, 2), u"*");
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    const auto log = ParseLog(service.WaitForLog(1));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].line, "GET http://download.finance.yahoo.com/d/quotes.csv?s=\"MSFT,RY.TO" +
                               kTags + " HTTP/1.1");
}

TEST_F(ViewerTest, AProxyWithoutAPortIsAskedOnPort80) {
    ScriptedServer proxy(
        [](int, const std::string&) {
            return ScriptedReply{tickwell_test::HttpReplyBytes(200, "\"MSFT\",1,2,3,4\r\n")};
        },
        80);
    if (proxy.port() != 80) GTEST_SKIP() << "port 80 is taken on this machine";
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}});
    WriteSettingText(kProxySetting, u"127.0.0.1");
    WriteSettingText(kPortSetting, u"");
    WriteSettingText(kUseProxySetting, u"1");
    device_.Key(VK_F1).Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    const auto requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind("GET http://download.finance.yahoo.com/d/quotes.csv?s=\"MSFT", 0),
              0u);
}

TEST_F(ViewerTest, TheBusyMarkShowsWhileTheDownloadWaits) {
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}});
    std::u16string titleWhileWaiting, barWhileWaiting;
    // The server looks at the screen while the viewer waits for its reply.
    ScriptedServer server([&](int, const std::string&) {
        titleWhileWaiting = Title();
        barWhileWaiting = device_.Row(device_.screen().rows() - 2);
        return ScriptedReply{tickwell_test::HttpReplyBytes(200, "\"MSFT\",1,2,3,4\r\n")};
    });
    RouteQuotesTo(server.port());
    device_.Check([&] { EXPECT_EQ(Title().find(u"busy"), std::u16string::npos); })
        .Key(VK_F1)
        .Check([&] { EXPECT_EQ(Title().find(u"busy"), std::u16string::npos); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_NE(titleWhileWaiting.find(u"busy"), std::u16string::npos) << Narrow(titleWhileWaiting);
    EXPECT_NE(barWhileWaiting.find(u"Downloading\u2026 "), std::u16string::npos);  // a word too
    EXPECT_EQ(device_.Row(device_.screen().rows() - 2).find(u"Downloading"), std::u16string::npos);
}

// A failed download's message waits on the user, not on the network: no busy mark under it.
TEST_F(ViewerTest, TheBusyMarkGoesWhenAFailedDownloadsMessageOpens) {
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}});
    ScriptedServer server([](int, const std::string&) {
        return ScriptedReply{tickwell_test::HttpReplyBytes(500, "down\r\n")};
    });
    RouteQuotesTo(server.port());
    struct Seen {
        decltype(this) test;
        std::u16string text, title, bar;
    } seen{this, {}, {}, {}};
    const platform::MessageBoxHook previous = platform::SetMessageBoxHook(
        {[](void* context, HWND, LPCWSTR text, LPCWSTR, UINT) {
             auto& s = *static_cast<Seen*>(context);
             s.text = text;
             s.title = s.test->Title();
             s.bar = s.test->device_.Row(s.test->device_.screen().rows() - 2);
             return IDOK;
         },
         &seen});
    device_.Key(VK_F1).Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    platform::SetMessageBoxHook(previous);
    EXPECT_EQ(seen.text, u"Could not connect to the quote server, please try again later");
    EXPECT_EQ(seen.title.find(u"busy"), std::u16string::npos) << Narrow(seen.title);
    EXPECT_EQ(seen.bar.find(u"Downloading"), std::u16string::npos) << Narrow(seen.bar);
}

// A server that never answers, and time-outs of an hour: only the key ends the wait. Esc ends
// it as a failed connection does; Ctrl+Q too, and then quits.
class CancelTest : public tickwell_test::ViewerTest {
protected:
    void PressWhileTheDownloadWaits(WORD vk, bool ctrl) {
        platform::testing::SetInternetTimeouts(3600000, 3600, 3600000);
        StoreSettings();
        StoreRows({{u"MSFT", u"U"}});
        server_ = std::make_unique<ScriptedServer>([this, vk, ctrl](int, const std::string&) {
            titleWhileWaiting_ = Title();
            device_.PressWhileBlocked(vk, ctrl);
            ScriptedReply reply;
            reply.silent = true;
            return reply;
        });
        RouteQuotesTo(server_->port());
    }
    void ExpectTheConnectionsMessage() {
        EXPECT_EQ(MessageTexts(),
                  std::vector<std::string>{
                      "Could not connect to the quote server, please try again later"});
        EXPECT_NE(titleWhileWaiting_.find(u"busy \u2013 Esc cancels"), std::u16string::npos)
            << Narrow(titleWhileWaiting_);
    }

    std::unique_ptr<ScriptedServer> server_;
    std::u16string titleWhileWaiting_;
};

TEST_F(CancelTest, EscEndsADownloadThatWaitsWithTheConnectionsMessage) {
    PressWhileTheDownloadWaits(VK_ESCAPE, false);
    device_.Key(VK_F1).Check([&] { ExpectTheConnectionsMessage(); }).Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(CancelTest, CtrlQEndsADownloadThatWaitsAndThenQuits) {
    PressWhileTheDownloadWaits('Q', true);
    device_.Key(VK_F1);
    EXPECT_EQ(Start(), 0);  // no more keys: the Ctrl+Q quit it
    ExpectTheConnectionsMessage();
}

TEST_F(ViewerTest, KeysMoveInTheListAlsoAfterItWasRebuilt) {
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}, {u"IBM", u"U"}, {u"GE", u"U"}});
    ScriptedServer server([](int, const std::string&) {
        return ScriptedReply{tickwell_test::HttpReplyBytes(200, "\"MSFT\",1,2,3,4\r\n")};
    });
    RouteQuotesTo(server.port());
    const auto focused = [&] {
        const platform::ListViewCtrl list(quoteListView);
        for (int i = 0; i < list.GetItemCount(); ++i) {
            if (list.GetItemState(i, LVIS_FOCUSED)) return i;
        }
        return -1;
    };
    HWND before = nullptr;
    device_.Key(VK_DOWN)
        .Key(VK_DOWN)
        .Check([&] {
            EXPECT_EQ(focused(), 1);
            before = quoteListView;
        })
        .Key(VK_F1)  // MSFT matches: the list is rebuilt
        .Key(VK_END)
        .Check([&] {
            EXPECT_NE(quoteListView, before);
            EXPECT_EQ(focused(), 2);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(ViewerTest, AnEmptyPortfolioOpensNoConnection) {
    StoreSettings();
    StoreRows({});
    ScriptedServer server([](int, const std::string&) { return ScriptedReply{}; });
    RouteQuotesTo(server.port());
    device_.Key(VK_F1)
        .Check([&] { SetTimer(mainWindow, RefreshTimer::kId, 60000, nullptr); })
        .Advance(60000)
        .Check([&] {
            EXPECT_NE(Title().find(u"( 0)"), std::u16string::npos);
            EXPECT_TRUE(messages_.records().empty());
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(server.connections(), 0);
}

TEST_F(ViewerTest, TheTimerRefreshesUntilTheWindowGoes) {
    ServiceProcess service = ServiceProcess::Logged(kMarketOpen);
    RouteQuotesTo(service.port());
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}});
    device_.Check([&] { SetTimer(mainWindow, RefreshTimer::kId, 60000, nullptr); })
        .Advance(59999)
        .Check([&] { EXPECT_TRUE(service.log().empty()); })
        .Advance(1)
        .Check([&] {
            EXPECT_EQ(service.WaitForLog(1).size(), 1u);
            EXPECT_NE(Title().find(u"PIV- 9:06( 1)"), std::u16string::npos) << Narrow(Title());
        })
        .Advance(60000)
        .Check([&] { EXPECT_EQ(service.WaitForLog(2).size(), 2u); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_FALSE(KillTimer(mainWindow, RefreshTimer::kId));  // gone with the window
}

LRESULT OtherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(ViewerTest, LowMemoryClosesTheViewerOnlyInTheBackground) {
    StoreSettings();
    StoreRows({{u"MSFT", u"U"}});
    WNDCLASSW wc{};
    wc.lpfnWndProc = OtherProc;
    wc.lpszClassName = u"Other";
    device_.Hibernate()
        .Check([&] {
            EXPECT_TRUE(IsWindow(mainWindow));  // in front: it stays
            RegisterClassW(&wc);
            CreateWindowExW(0, u"Other", u"other", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
            EXPECT_NE(GetForegroundWindow(), mainWindow);
        })
        .Hibernate();
    EXPECT_EQ(Start(), 0);  // the notice ended the program, not the script
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(FileBytes().size(), 84u);  // nothing to save at exit: nothing changed
}

}  // namespace
