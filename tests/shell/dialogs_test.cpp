// Speed Insert, Quote Options, Internet Refresh and Set Proxy Server, opened from the Tools
// menu of the real viewer and worked by keys and taps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/testing/faults.h"
#include "platform/user32/message_loop.h"
#include "resources/dialog_templates.h"
#include "settings/proxy_settings.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/speed_insert_dialog.h"
#include "support/service_process.h"
#include "support/viewer_fixture.h"

namespace {

using tickwell_test::Narrow;
using tickwell_test::ParseLog;
using tickwell_test::ServiceProcess;

class DialogsTest : public tickwell_test::ViewerTest {
protected:
    void SetUp() override {
        tickwell_test::ViewerTest::SetUp();
        StoreSettings();
    }

    // The Tools menu's item, by its text.
    platform::testing::HeadlessDevice& Tools(const std::u16string& item) {
        return device_.Key(VK_F2).TapText(item);
    }
    // Speed Insert: the symbols typed at once (the caret starts in their box), or first the
    // exchange, one Shift+Tab away, chosen by typing its first letters; then OK.
    void Insert(const std::u16string& symbols, const std::u16string& exchangeKeys = u"") {
        auto& dialog = Tools(u"Insert");
        if (!exchangeKeys.empty()) dialog.Key(VK_TAB, true).Type(exchangeKeys).Key(VK_TAB);
        dialog.Type(symbols).Key(VK_RETURN);
    }

    std::vector<std::string> Symbols() const {
        std::vector<std::string> symbols;
        for (int row = 0; RowInUse(row); ++row) {
            symbols.push_back(Narrow(Portfolio[row].symbol) + "." +
                              Narrow(Portfolio[row].exchangeCode));
        }
        return symbols;
    }
    using List = std::vector<std::string>;

    std::string Hive() const { return ReadHostText("/registry.reg"); }
};

TEST_F(DialogsTest, SpeedInsertAppendsTheNewSymbolsOnTheChosenExchange) {
    StoreRows({{u"IBM", u"U"}});
    HWND before = nullptr;
    device_.Check([&] { before = quoteListView; });
    Insert(u"MSFT,GOOG");
    device_.Check([&] {
        EXPECT_EQ(Symbols(), (List{"IBM.U", "MSFT.U", "GOOG.U"}));
        EXPECT_EQ(std::u16string(Portfolio[2].lastPrice), u"*");
        EXPECT_EQ(std::u16string(Portfolio[2].reserved), u"*");
        EXPECT_NE(quoteListView, before);  // rebuilt
        EXPECT_NE(device_.Text().find(u"  GOOG"), std::u16string::npos);
        EXPECT_EQ(FileBytes(), ExpectedFile());  // saved
    });
    Insert(u"MSFT,IBM");    // both there already on USA Major
    Insert(u"MSFT", u"C");  // but not on Canada TSE, the next exchange starting with C
    device_.Check([&] {
        EXPECT_EQ(Symbols(), (List{"IBM.U", "MSFT.U", "GOOG.U", "MSFT.T"}));
        EXPECT_TRUE(messages_.records().empty());
    });
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(FileBytes(), ExpectedFile());
}

// A symbol holds 9 characters: a longer one is refused whole, never cut or split.
TEST_F(DialogsTest, SpeedInsertRefusesASymbolLongerThanNineCharacters) {
    StoreRows({});
    const std::u16string typed = u"MSFT,ABCDEFGHIJKLMNOP,1234567890123";
    Tools(u"Insert").Type(typed).Key(VK_RETURN).Check([&] {
        char16_t text[kSymbolsLimit] = {};
        GetDlgItemTextW(GetForegroundWindow(), 1024, text, kSymbolsLimit);
        EXPECT_EQ(std::u16string(text), typed);  // still open, the text as typed
        ASSERT_EQ(messages_.records().size(), 1u);
        EXPECT_EQ(messages_.records()[0].text,
                  u"Symbol too long: ABCDEFGHIJKLMNOP (9 characters at most)");
        EXPECT_EQ(messages_.records()[0].caption, u"Validation Error");
        EXPECT_EQ(Symbols(), List{});
    });
    device_.Key(VK_ESCAPE);
    Insert(u"ABCDEFGHI 123456789");
    device_.Check([&] {
               EXPECT_EQ(Symbols(), (List{"ABCDEFGHI.U", "123456789.U"}));
           })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(DialogsTest, SpeedInsertRefusesCharactersOutsideTheSymbolSet) {
    StoreRows({});
    HWND dialog = nullptr;
    for (const char16_t* bad : {u"A#", u"B!", u"C&", u"D%", u"E("}) {
        Tools(u"Insert").Type(bad).Key(VK_RETURN).Check([&, bad] {
            dialog = GetForegroundWindow();
            char16_t text[16] = {};
            GetDlgItemTextW(dialog, 1024, text, 16);
            EXPECT_EQ(std::u16string(text), bad);  // still open, the text as typed
            ASSERT_FALSE(messages_.records().empty());
            const auto& record = messages_.records().back();
            EXPECT_EQ(record.text, u"Invalid character in symbol list");
            EXPECT_EQ(record.caption, u"Validation Error");
            EXPECT_EQ(record.owner, dialog);
        });
        device_.Key(VK_ESCAPE);
    }
    Tools(u"Insert").Key(VK_RETURN).Check(
        [&] { EXPECT_EQ(messages_.records().back().text, u"A Stock symbol must be entered"); });
    device_.Key(VK_ESCAPE);
    Insert(u"$TICK ^DJI");  // "$" and the space pass
    device_.Check([&] { EXPECT_EQ(Symbols(), (List{"$TICK.U", "^DJI.U"})); }).Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(messages_.records().size(), 6u);
}

TEST_F(DialogsTest, SpeedInsertDropsEmptyTokensAndStoresADotAsADash) {
    StoreRows({});
    Insert(u"MSFT, GOOG");
    Insert(u",IBM");
    Insert(u"GE,,KO");
    Insert(u"   ");
    Insert(u"BRK.B");
    device_
        .Check([&] {
            EXPECT_EQ(Symbols(), (List{"MSFT.U", "GOOG.U", "IBM.U", "GE.U", "KO.U", "BRK-B.U"}));
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(DialogsTest, SpeedInsertsBoxTakesTheNinetyNineCharactersItReads) {
    StoreRows({});
    // 97 commas, then X, Y and Z: the box refuses the 100th character, Z.
    Tools(u"Insert").Type(std::u16string(97, u',') + u"XYZ").Check([&] {
        char16_t text[kSymbolsLimit + 8] = {};
        GetDlgItemTextW(GetForegroundWindow(), 1024, text, kSymbolsLimit + 8);
        EXPECT_EQ(std::u16string(text), std::u16string(97, u',') + u"XY");
    });
    device_.Key(VK_RETURN)
        .Check([&] { EXPECT_EQ(Symbols(), (List{"XY.U"})); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

// OK ends the dialog and saves; then one message names what did not fit.
TEST_F(DialogsTest, SpeedInsertOnAFullPortfolioStillSavesAndRebuilds) {
    std::vector<std::pair<std::u16string, std::u16string>> rows;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "F" + std::to_string(i);
        rows.push_back({std::u16string(name.begin(), name.end()), u"U"});
    }
    StoreRows(rows);
    HWND before = nullptr;
    device_.Check([&] {
        before = quoteListView;
        // The file changes behind the viewer's back: OK rewrites it from the portfolio.
        StoreRows({});
    });
    Insert(u"EXTRA,F1");
    device_
        .Check([&] {
            EXPECT_EQ(PortfolioRowCount(), 200);
            EXPECT_EQ(FindQuoteRow(u"EXTRA", u"U"), kNoRow);
            EXPECT_NE(quoteListView, before);
            EXPECT_EQ(FileBytes(), ExpectedFile());
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{
                                          "The portfolio holds 200 symbols; not added: EXTRA"});
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(DialogsTest, SpeedInsertAt199RowsAddsTheFirstAndNamesTheRest) {
    std::vector<std::pair<std::u16string, std::u16string>> rows;
    for (int i = 0; i < 199; ++i) {
        const std::string name = "F" + std::to_string(i);
        rows.push_back({std::u16string(name.begin(), name.end()), u"U"});
    }
    StoreRows(rows);
    Insert(u"NEWA,NEWB,NEWC");
    device_
        .Check([&] {
            EXPECT_EQ(PortfolioRowCount(), 200);
            EXPECT_NE(FindQuoteRow(u"NEWA", u"U"), kNoRow);
            EXPECT_EQ(
                MessageTexts(),
                std::vector<std::string>{"The portfolio holds 200 symbols; not added: NEWB, NEWC"});
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

// The exchange list, one Shift+Tab away, drops down framed, apart from the dialog behind it.
TEST_F(DialogsTest, SpeedInsertsExchangeListDropsDownFramed) {
    StoreRows({{u"IBM", u"U"}});
    Tools(u"Insert")
        .Key(VK_TAB, true)
        .Key(VK_DOWN, false, false, true)  // Alt+Down opens the list
        .Check([&] {
            const std::u16string screen = device_.Text();
            EXPECT_NE(screen.find(u"\u2502 USA Major"), std::u16string::npos);
            EXPECT_NE(screen.find(u"\u25BE"), std::u16string::npos) << "more below";
        })
        .Key(VK_ESCAPE)
        .Key(VK_ESCAPE)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

// A dialog follows the terminal's size: centred again, below the title bar and above the menu
// bar while it fits; too tall, it starts under the title bar and Enter still presses OK.
TEST_F(DialogsTest, ADialogOpenWhileTheScreenChangesFollowsIt) {
    StoreRows({{u"IBM", u"U"}});
    const auto rowOf = [&](const std::u16string& text) {  // below the navigation bar
        for (int r = 2; r < device_.screen().rows(); ++r) {
            if (device_.Row(r).find(text) != std::u16string::npos) return r;
        }
        return -1;
    };
    Tools(u"Refresh Settings")
        .Resize(60, 16)
        .Check([&] {
            const int title = rowOf(u" Internet Refresh ");
            ASSERT_GT(title, 1);
            EXPECT_LT(rowOf(u"[Apply]"), 16 - 2);  // above the menu bar
            const std::u16string row = device_.Row(title);
            const auto left = row.find(u'\u250C'), right = row.rfind(u'\u2510');
            ASSERT_NE(left, std::u16string::npos);
            EXPECT_LE(left > 60 - 1 - right ? left - (60 - 1 - right) : (60 - 1 - right) - left,
                      1u);  // centred across the new width
        })
        .Resize(100, 8)
        .Check([&] {
            // Taller than the screen: it scrolls so that its focused control shows between the
            // navigation bar (row 0) and the menu bar (row 7).
            RECT focused{};
            GetWindowRect(GetFocus(), &focused);
            EXPECT_GE(focused.top, 13);
            EXPECT_LE(focused.bottom, 7 * 13);
        })
        .Type(u"7")
        .Key(VK_RETURN)
        .Check([&] { EXPECT_EQ(rowOf(u" Internet Refresh "), -1); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

// At 40x12 the bar (row 10) keeps F10, a menu stays between the bars and scrolls, and a dialog
// taller than the screen scrolls to its focused control: every item and control is reached by
// keys.
TEST_F(DialogsTest, AtFortyByTwelveEveryMenuItemAndControlIsReachedByKeys) {
    StoreRows({{u"IBM", u"U"}});
    const auto shownBetweenTheBars = [&](const std::u16string& text) {
        int column = 0, row = 0;
        return device_.Find(text, column, row) && row >= 1 && row < 10;
    };
    device_.Resize(40, 12)
        .Check([&] { EXPECT_NE(device_.Row(10).find(u"F10 Quit"), std::u16string::npos); })
        .Key(VK_F2)
        .Check([&] {
            EXPECT_TRUE(shownBetweenTheBars(u"Refresh Settings"));
            EXPECT_NE(device_.Row(10).find(u"F1"), std::u16string::npos);  // not covered
        })
        .Key(VK_END)
        .Check([&] { EXPECT_TRUE(shownBetweenTheBars(u"Market Summary")); })
        .Key(VK_ESCAPE)
        .Key(VK_F2)
        .TapText(u"Quote Options");
    for (int i = 0; i < 17; ++i) device_.Key(VK_TAB);  // past the 17 boxes: Apply
    device_.Check([&] { EXPECT_TRUE(shownBetweenTheBars(u"[Apply]")); })
        .Key(VK_ESCAPE)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(DialogsTest, SpeedInsertCancelChangesNothing) {
    StoreRows({{u"IBM", u"U"}});
    const auto file = FileBytes();
    HWND before = nullptr;
    device_.Check([&] { before = quoteListView; });
    Tools(u"Insert").Type(u"MSFT").Key(VK_ESCAPE).Check([&] {
        EXPECT_EQ(Symbols(), (List{"IBM.U"}));
        EXPECT_EQ(quoteListView, before);
    });
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(FileBytes(), file);
}

TEST_F(DialogsTest, QuoteOptionsApplyStoresEveryColumnAndRebuilds) {
    StoreRows({{u"IBM", u"U"}});
    WriteSettingText(u"Volume", u"x");  // reads as off
    HWND before = nullptr;
    device_.Check([&] { before = quoteListView; })
        .Key(VK_F2)
        .TapText(u"Quote Options")
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"[ ] Volume"), std::u16string::npos);
            EXPECT_NE(device_.Text().find(u"[x] Exchange"), std::u16string::npos);
        })
        .TapText(u"Apply")
        .Check([&] {
            EXPECT_NE(quoteListView, before);
            EXPECT_NE(Hive().find("\"Volume\"=\"0\""), std::string::npos);
            for (const char16_t* name : ColumnFlagNames) {
                EXPECT_NE(Hive().find("\"" + Narrow(name) + "\"="), std::string::npos);
            }
            EXPECT_FALSE(columnFlags[ColumnFlag::volume]);
            EXPECT_EQ(visibleColumnCount, 17);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(DialogsTest, QuoteOptionsClearedBoxesRemoveTheirColumns) {
    StoreRows({{u"IBM", u"U"}});
    device_.Key(VK_F2)
        .TapText(u"Quote Options")
        .TapText(u"] Volume")  // the box's, not the list header's behind the dialog
        .TapText(u"] Name")
        .TapText(u"Apply")
        .Check([&] {
            EXPECT_FALSE(columnFlags[ColumnFlag::volume]);
            EXPECT_FALSE(columnFlags[ColumnFlag::coName]);
            EXPECT_TRUE(columnFlags[ColumnFlag::exchange]);
            EXPECT_EQ(visibleColumnCount, 16);
            EXPECT_EQ(device_.Row(2).find(u"Volume"), std::u16string::npos);
            EXPECT_NE(Hive().find("\"CoName\"=\"0\""), std::string::npos);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

// A full or read-only disk: the choice holds for this run and the user is told it will not last.
TEST_F(DialogsTest, QuoteOptionsApplyOnAnUnwritableHiveSaysSoAndShowsTheChoice) {
    StoreRows({{u"IBM", u"U"}});
    std::string hive;
    device_
        .Check([&] {
            hive = Hive();
            platform::testing::SetWriteBudget(0);
        })
        .Key(VK_F2)
        .TapText(u"Quote Options")
        .TapText(u"] Volume")
        .TapText(u"Apply")
        .Check([&] {
            EXPECT_EQ(MessageTexts(),
                      std::vector<std::string>{"Quote Options registry update failed"});
            EXPECT_EQ(messages_.records().front().caption, u"Error");
            EXPECT_FALSE(columnFlags[ColumnFlag::volume]);
            EXPECT_EQ(visibleColumnCount, 17);  // the Symbol and every other column
            EXPECT_EQ(device_.Row(2).find(u"Volume"), std::u16string::npos);
            EXPECT_EQ(Hive(), hive);
            platform::testing::SetWriteBudget(-1);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(DialogsTest, QuoteOptionsCancelKeepsTheListAndItsOrder) {
    StoreRows({{u"A", u"U"}, {u"B", u"U"}});
    const std::string hive = Hive();
    HWND before = nullptr;
    device_
        .TapText(u"Symbol")  // sorted: B, A
        .Check([&] { before = quoteListView; })
        .Key(VK_F2)
        .TapText(u"Quote Options")
        .TapText(u"] Volume")
        .TapText(u"Cancel")
        .Check([&] {
            EXPECT_EQ(quoteListView, before);
            char16_t first[8] = {};
            platform::ListViewCtrl(quoteListView).GetItemText(0, 0, first, 8);
            EXPECT_EQ(std::u16string(first), u"B");
            EXPECT_EQ(Hive(), hive);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

class RefreshDialogTest : public DialogsTest {
protected:
    void SetUp() override {
        DialogsTest::SetUp();
        StoreRows({{u"MSFT", u"U"}});
        RouteQuotesTo(service_.port());
    }
    // The Internet Refresh dialog given `minutes`, applied.
    void Period(const std::u16string& minutes) {
        Tools(u"Refresh Settings").Type(minutes).Key(VK_RETURN);
    }
    std::size_t Downloads() const { return service_.log().size(); }

    ServiceProcess service_ = ServiceProcess::Logged({"--clock", "2026-12-07T15:30:00Z"});
};

TEST_F(RefreshDialogTest, AMinuteBringsADownloadEachMinute) {
    Period(u"1");
    device_
        .Check([&] {
            ASSERT_EQ(messages_.records().size(), 1u);
            EXPECT_EQ(messages_.records()[0].text, u"Stock quotes will refresh every 1 minutes");
            EXPECT_EQ(messages_.records()[0].caption, u"Information");
            EXPECT_NE(messages_.records()[0].owner, mainWindow);  // the dialog's
        })
        .Advance(59999)
        .Check([&] { EXPECT_EQ(Downloads(), 0u); })
        .Advance(1)
        .Check([&] { EXPECT_EQ(service_.WaitForLog(1).size(), 1u); })
        .Advance(60000)
        .Check([&] { EXPECT_EQ(service_.WaitForLog(2).size(), 2u); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(RefreshDialogTest, TheMessageNamesThePeriodAndTheLongestIs999Minutes) {
    Period(u"5");
    device_.Check([&] {
        EXPECT_EQ(messages_.records().back().text, u"Stock quotes will refresh every 5 minutes");
    });
    Period(u"9999");  // the box takes three digits
    device_.Advance(59940000 - 1)
        .Check([&] {
            EXPECT_EQ(messages_.records().back().text,
                      u"Stock quotes will refresh every 999 minutes");
            EXPECT_EQ(Downloads(), 0u);  // the 5-minute period was replaced
        })
        .Advance(1)
        .Check([&] { EXPECT_EQ(service_.WaitForLog(1).size(), 1u); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(RefreshDialogTest, ZeroOrNothingStopsTheTimerAndCancelLeavesIt) {
    Period(u"1");
    Period(u"0");
    device_.Advance(120000).Check([&] {
        EXPECT_EQ(messages_.records().back().text,
                  u"Automatic refresh of stock quotes has been turned off");
        EXPECT_EQ(Downloads(), 0u);
    });
    Period(u"2");
    Period(u"");
    device_.Advance(120000).Check([&] {
        EXPECT_EQ(messages_.records().back().text,
                  u"Automatic refresh of stock quotes has been turned off");
        EXPECT_EQ(Downloads(), 0u);
    });
    Period(u"1");
    Tools(u"Refresh Settings").Type(u"0").Key(VK_ESCAPE);  // Cancel: still every minute
    device_.Advance(60000)
        .Check([&] { EXPECT_EQ(service_.WaitForLog(1).size(), 1u); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(RefreshDialogTest, NoAutomaticRefreshAfterAStart) {
    device_.Advance(30 * 60000).Check([&] { EXPECT_EQ(Downloads(), 0u); }).Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Hive().find("efresh"), std::string::npos);  // no period is stored
}

TEST_F(DialogsTest, SetProxyServerClearedWritesUseProxyOffAndKeepsHostAndPort) {
    StoreRows({{u"MSFT", u"U"}});
    WriteSettingText(kProxySetting, u"proxy.example");
    WriteSettingText(kPortSetting, u"8080");
    WriteSettingText(kUseProxySetting, u"1");
    Tools(u"Use Proxy Server")
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"[x] Use Proxy Server"), std::u16string::npos);
            EXPECT_NE(device_.Text().find(u"proxy.example"), std::u16string::npos);
        })
        .Key(VK_SPACE)  // the check box has the focus
        .Key(VK_RETURN)
        .Check([&] {
            EXPECT_FALSE(proxySettings.useProxy);
            EXPECT_EQ(std::u16string(proxySettings.proxyHost), u"proxy.example");
            EXPECT_NE(Hive().find("\"UseProxy\"=\"0\""), std::string::npos);
            EXPECT_NE(Hive().find("\"Proxy\"=\"proxy.example\""), std::string::npos);
            EXPECT_NE(Hive().find("\"Port\"=\"8080\""), std::string::npos);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(DialogsTest, AFailedProxyWriteSaysSoAndTheNextDownloadStillUsesTheProxy) {
    const int port = tickwell_test::FreePortBelow10000();
    ASSERT_GT(port, 0);
    ServiceProcess proxy =
        ServiceProcess::Logged({"--clock", "2026-12-07T15:30:00Z", "--port", std::to_string(port)});
    StoreRows({{u"MSFT", u"U"}});
    const std::u16string digits = [&] {
        const std::string p = std::to_string(port);
        return std::u16string(p.begin(), p.end());
    }();
    Tools(u"Use Proxy Server")
        .Key(VK_SPACE)
        .Key(VK_TAB)
        .Type(u"127.0.0.1")
        .Key(VK_TAB)
        .Type(digits)
        .Check([] { platform::testing::SetWriteBudget(0); })  // the disk is full
        .Key(VK_RETURN)
        .Check([&] {
            platform::testing::SetWriteBudget(-1);
            std::vector<std::string> texts = MessageTexts();
            EXPECT_EQ(texts, (std::vector<std::string>{"Proxy server registry update failed",
                                                       "Port registry update failed",
                                                       "UseProxy registry update failed"}));
            for (const auto& record : messages_.records()) {
                EXPECT_EQ(record.caption, u"Information");
                EXPECT_EQ(record.owner, mainWindow);
            }
            EXPECT_TRUE(proxySettings.useProxy);
            EXPECT_EQ(Hive().find("127.0.0.1"), std::string::npos);
        })
        .Key(VK_F1)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    const auto log = ParseLog(proxy.WaitForLog(1));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].line.rfind("GET http://download.finance.yahoo.com/", 0), 0u);
}

TEST_F(DialogsTest, AHostOf48CharactersSurvivesARestart) {
    StoreRows({});
    const std::u16string host = u"an-even-longer-proxy-host-name.corporate.example";
    ASSERT_EQ(host.size(), 48u);
    Tools(u"Use Proxy Server")
        .Key(VK_SPACE)
        .Key(VK_TAB)
        .Type(host + u"XYZ")  // the box takes the 48 the setting holds
        .Check([&] {
            char16_t text[64] = {};
            GetDlgItemTextW(GetForegroundWindow(), IDC_PROXY_SERVER, text, 64);
            EXPECT_EQ(std::u16string(text), host);
        })
        .Key(VK_RETURN)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(std::u16string(proxySettings.proxyHost), host);
    proxySettings = {};
    EXPECT_EQ(ReadProxySettings(), 1);  // as the next start reads them
    EXPECT_EQ(std::u16string(proxySettings.proxyHost), host);
    EXPECT_TRUE(proxySettings.useProxy);
}

// A host with a port of its own, or a port out of 1 to 65535, is refused with the dialog open.
TEST_F(DialogsTest, AProxyPortOutOfRangeOrInTheHostIsRefused) {
    StoreRows({});
    const struct {
        const char16_t* host;
        const char16_t* port;
        const char16_t* message;  // null: taken
    } cases[] = {
        {u"proxy.example:", u"", u"Proxy server: the host alone; its port goes in the Port box"},
        {u"proxy.example:99999", u"",
         u"Proxy server: the host alone; its port goes in the Port box"},
        {u"proxy.example", u"0", u"Port: a number from 1 to 65535, or none for 80"},
        {u"proxy.example", u"8080", nullptr}};
    for (const auto& c : cases) {
        device_.Check([&] { messages_.clear(); });
        Tools(u"Use Proxy Server")
            .Key(VK_TAB)
            .Key(VK_END)
            .Key(VK_HOME, true)
            .Type(c.host)
            .Key(VK_TAB)
            .Key(VK_END)
            .Key(VK_HOME, true)
            .Type(c.port)
            .Key(VK_RETURN)
            .Check([&] {
                if (!c.message) {
                    EXPECT_TRUE(messages_.records().empty()) << Narrow(c.host);
                    EXPECT_EQ(std::u16string(proxySettings.proxyPort), c.port);
                    return;
                }
                ASSERT_EQ(messages_.records().size(), 1u) << Narrow(c.host);
                EXPECT_EQ(messages_.records()[0].text, c.message);
                EXPECT_EQ(messages_.records()[0].caption, u"Validation Error");
                EXPECT_NE(Title().find(u"Proxy"), std::u16string::npos);  // still open
            });
        if (c.message) device_.Key(VK_ESCAPE);
    }
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

// The proxy's text puts "HTTP://" in front itself: a typed scheme is dropped, not doubled.
TEST_F(DialogsTest, AProxyHostTypedWithASchemeIsStoredWithout) {
    StoreRows({});
    for (const char16_t* typed : {u"http://proxy.example", u"HTTPS://proxy.example"}) {
        Tools(u"Use Proxy Server")
            .Key(VK_TAB)
            .Key(VK_END)
            .Key(VK_HOME, true)  // the host so far, selected: typing replaces it
            .Type(typed)
            .Key(VK_RETURN)
            .Check([&] {
                EXPECT_EQ(std::u16string(proxySettings.proxyHost), u"proxy.example")
                    << Narrow(typed);
                EXPECT_NE(Hive().find("\"Proxy\"=\"proxy.example\""), std::string::npos);
            });
    }
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

}  // namespace
