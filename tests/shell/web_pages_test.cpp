// The chart, news, overview and maker's pages in the browser, the help file in the help
// viewer, and About, from the real viewer's menus and keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/message_loop.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/web_pages.h"
#include "support/viewer_fixture.h"

namespace {

using Row = tickwell_test::StoredRow;

const std::string kChart = "browser http://mobile.yahoo.com/raw?dp=page&pg=finance/quote_chart&s=";
const std::string kNews = "browser http://mobile.yahoo.com/raw?dp=news&tn=_";

class WebPagesTest : public tickwell_test::ViewerTest {
protected:
    void SetUp() override {
        tickwell_test::ViewerTest::SetUp();
        ::setenv("BROWSER", "browser", 1);
        StoreSettings();
    }
    void TearDown() override {
        ::unsetenv("BROWSER");
        tickwell_test::ViewerTest::TearDown();
    }

    platform::testing::HeadlessDevice& Tools(const std::u16string& item) {
        return device_.Key(VK_F2).TapText(item);
    }
    platform::testing::HeadlessDevice& HelpMenu(const std::u16string& item) {
        return device_.Key(VK_F3).TapText(item);
    }
    const std::vector<std::string>& Launches() const { return device_.launches(); }
};

TEST_F(WebPagesTest, BeforeAnyTapChartAndNewsAskForARow) {
    StoreQuotes({{u"MSFT"}});
    Tools(u"Chart");
    Tools(u"News Headlines");
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_TRUE(Launches().empty());
    ASSERT_EQ(messages_.records().size(), 2u);
    for (const auto& record : messages_.records()) {
        EXPECT_EQ(record.text, u"Please select a row first");
        EXPECT_EQ(record.caption, u"Information");
        EXPECT_EQ(record.owner, mainWindow);
    }
}

TEST_F(WebPagesTest, TheTappedRowsSymbolAndSuffixMakeTheAddress) {
    StoreQuotes({{u"MSFT"}, {u"VOD", u"G"}, {u"6488", u"X"}, {u"RY", u"T"}});
    device_.TapText(u"RY").TapText(u"Chart");  // the row menu's Chart
    device_.TapText(u"VOD").TapText(u"News Headlines");
    device_.TapText(u"6488").Key(VK_ESCAPE);
    Tools(u"Chart");
    device_.TapText(u"MSFT").TapText(u"Chart");
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Launches(), (std::vector<std::string>{kChart + "RY.TO", kNews + "VOD.L",
                                                    kChart + "6488.TWO", kChart + "MSFT"}));
    EXPECT_TRUE(messages_.records().empty());
}

TEST_F(WebPagesTest, TheSelectionOutlivesRebuildsAndSortsUntilTheNextTap) {
    StoreQuotes({{u"A"}, {u"B", u"G"}});
    device_.TapText(u"B")
        .Key(VK_ESCAPE)
        .Check([&] { RebuildQuoteList(mainWindow); })
        .TapText(u"Symbol");  // position 0 now shows B, position 1 A
    Tools(u"News Headlines");
    device_.TapText(u"A").Key(VK_ESCAPE);
    Tools(u"Chart");
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Launches(), (std::vector<std::string>{kNews + "B.L", kChart + "A"}));
}

TEST_F(WebPagesTest, SymbolsAreEncodedInTheAddress) {
    // A symbol stored by an older version, or typed in the file: it can add no query key.
    StoreQuotes({{u"A&B=1"}, {u"X#Y"}, {u"\u00C9T%"}});
    device_.TapText(u"A&B=1").TapText(u"Chart");
    device_.TapText(u"X#Y").TapText(u"Chart");
    device_.TapText(u"\u00C9T%").TapText(u"Chart");
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Launches(), (std::vector<std::string>{kChart + "A%26B%3D1", kChart + "X%23Y",
                                                    kChart + "%C3%89T%25"}));
}

TEST_F(WebPagesTest, TheFixedLaunches) {
    StoreQuotes({});
    HelpMenu(u"Help");
    HelpMenu(u"Quellmark on the web");
    Tools(u"Market Summary");
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    ASSERT_EQ(Launches().size(), 3u);
    // The help file beside the program, at its contents.
    EXPECT_EQ(Launches()[0].rfind("browser file:///", 0), 0u) << Launches()[0];
    const std::string help = "/PIV.htm#Main_Contents";
    EXPECT_EQ(Launches()[0].substr(Launches()[0].size() - help.size()), help);
    EXPECT_EQ(Launches()[1], "browser http://www.quellmark.com/pdapage.htm");
    EXPECT_EQ(Launches()[2], "browser http://www.marketwatch.com/palm/marketwatch/overview.asp");
}

TEST_F(WebPagesTest, AboutShowsTheVersionAndClosesThroughDoneEnterAndEsc) {
    StoreQuotes({{u"MSFT"}});
    HWND list = nullptr;
    const auto closed = [&] {
        EXPECT_EQ(device_.Text().find(u"Vers. 3.3"), std::u16string::npos);
        EXPECT_EQ(quoteListView, list);
        EXPECT_EQ(PortfolioRowCount(), 1);
    };
    device_
        .Check([&] {
            list = quoteListView;
            SetTimer(mainWindow, RefreshTimer::kId, 600000, nullptr);
        })
        .Key('A', false, true)  // Ctrl+A
        .Check([&] {
            int column = 0, row = 0;
            ASSERT_TRUE(device_.Find(u"Tickwell", column, row));
            int versionColumn = 0, versionRow = 0;
            ASSERT_TRUE(device_.Find(u"Vers. 3.3 Build 20061202.1", versionColumn, versionRow));
            EXPECT_EQ(versionRow, row + 1);
            EXPECT_EQ(versionColumn, column);
            EXPECT_NE(Title().find(u"About"), std::u16string::npos);
            EXPECT_NE(Title().find(u"[ok]"), std::u16string::npos);
        })
        .Key('Q', false, true)  // no accelerators inside a dialog
        .Check([&] { EXPECT_NE(device_.Text().find(u"Vers. 3.3"), std::u16string::npos); })
        .TapText(u"[ok]")  // Done
        .Check([&] {
            closed();
            EXPECT_TRUE(KillTimer(mainWindow, RefreshTimer::kId));  // still running
        });
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        HelpMenu(u"About")
            .Check([&] { EXPECT_NE(device_.Text().find(u"Vers. 3.3"), std::u16string::npos); })
            .Key(key)
            .Check(closed);
    }
    HelpMenu(u"About").TapText(u"[ok]").Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

}  // namespace
