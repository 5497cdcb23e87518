// Holdings on the real viewer, with the real tickwell-quotes as its quote server: entered
// through the row menu, shown in their four columns and the totals line, kept in their own
// file across a restart and gone with a deleted row, while the data file never changes for
// them; bad entries and damaged files lose nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "listview/holding_columns.h"
#include "listview/quote_columns.h"
#include "model/holdings.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/message_loop.h"
#include "settings/settings_store.h"
#include "support/service_process.h"
#include "support/viewer_fixture.h"

namespace {

using tickwell_test::Narrow;
using tickwell_test::ServiceProcess;

const std::vector<std::string> kMarketOpen = {"--clock", "2026-12-07T15:30:00Z"};
constexpr const char* kHoldingsPath = "/PIVData/holdings.csv";
constexpr const char* kHeader = "Symbol,Exchange,Shares,Price Paid\n";

class HoldingsTest : public tickwell_test::ViewerTest {
protected:
    void SetUp() override {
        tickwell_test::ViewerTest::SetUp();
        StoreSettings(false);
        WriteSettingFlag(u"LastPrice", true);
        WriteSettingFlag(u"Change", true);  // Symbol, Last $, Change, then the holdings'
    }

    std::u16string Cell(int item, int sub) const {
        char16_t text[40] = {};
        platform::ListViewCtrl(quoteListView).GetItemText(item, sub, text, 40);
        return text;
    }
    // A figure cell without its thousands separators.
    std::string Figure(int item, int sub) const {
        std::string text;
        for (char16_t c : Cell(item, sub))
            if (c != u',') text += static_cast<char>(c);
        return text;
    }
    static double Number(const char16_t* text) { return std::stod(Narrow(text)); }
    static std::string Amount(double value, bool sign) {
        char text[64];
        if (std::fabs(value) < 0.005) return "0.00";
        std::snprintf(text, sizeof text, sign ? "%+.2f" : "%.2f", value);
        return text;
    }
    // The screen's row that holds `text`, or empty.
    std::u16string RowWith(const std::u16string& text) const {
        int column = 0;
        int row = 0;
        return device_.Find(text, column, row) ? device_.Row(row) : std::u16string();
    }
    // The four columns and the totals of kEntered, from the quotes in the rows.
    void CheckFigures() const {
        EXPECT_EQ(firstHoldingColumn, 3);
        EXPECT_EQ(visibleColumnCount, 7);
        EXPECT_NE(device_.Row(2).find(u"Shares"), std::u16string::npos) << Narrow(device_.Row(2));
        const double msft = Number(Portfolio[0].lastPrice);
        const double change = Number(Portfolio[0].change);
        EXPECT_EQ(Cell(0, 3), u"1.5");
        EXPECT_EQ(Figure(0, 4), Amount(1.5 * msft, false));
        EXPECT_EQ(Figure(0, 5), Amount(1.5 * change, true));
        EXPECT_EQ(Figure(0, 6), Amount(1.5 * (msft - 400), true));
        const double vod = Number(Portfolio[1].lastPrice);  // pence
        EXPECT_EQ(Figure(1, 4), Amount(300 * vod / 100, false));
        EXPECT_EQ(Cell(1, 6), u"");  // no price paid: no gain
        EXPECT_NE(RowWith(u"USD ").find(u"\u00B7 Gain "), std::u16string::npos);
        EXPECT_EQ(RowWith(u"GBP ").find(u"Gain"), std::u16string::npos);
        EXPECT_NE(RowWith(u"GBP ").find(u"\u00B7 Day "), std::u16string::npos);
    }
    platform::testing::HeadlessDevice& OpenHolding(const std::u16string& symbol) {
        return device_.TapText(symbol).TapText(u"Holding...");
    }
};

// What the first test enters, as the file keeps it.
const std::string kEntered = std::string(kHeader) + "MSFT,U,1.5,400\nVOD,G,300,\n";

// MSFT in dollars and VOD in pence, entered through the row menu: the file keeps them, the
// data file does not change for them.
TEST_F(HoldingsTest, EnteredHoldingsShowTheirWorthAndGoToTheirOwnFile) {
    ServiceProcess service(kMarketOpen);
    RouteQuotesTo(service.port());
    StoreRows({{u"MSFT", u"U"}, {u"VOD", u"G"}});
    std::vector<unsigned char> dataFile;
    device_.Key(VK_F1)
        .Check([&] {
            dataFile = FileBytes();
            EXPECT_EQ(firstHoldingColumn, -1);  // nothing held: the list as without holdings
            EXPECT_EQ(visibleColumnCount, 3);
            EXPECT_EQ(RowWith(u"USD "), u"");
        })
        .TapText(u"MSFT")
        .TapText(u"Holding...")
        .Type(u"1.5")
        .Key(VK_TAB)
        .Type(u"400")
        .Key(VK_RETURN)
        .TapText(u"VOD")
        .TapText(u"Holding...")
        .Type(u"300")
        .Key(VK_RETURN)
        .Check([&] { CheckFigures(); })
        .Key('Q', false, true);
    ASSERT_EQ(Start(), 0);
    EXPECT_TRUE(messages_.records().empty()) << MessageTexts()[0];
    EXPECT_EQ(ReadHostText(kHoldingsPath), kEntered);
    EXPECT_EQ(FileBytes(), dataFile);
}

// A later start shows them from the file after a refresh; Delete takes MSFT's holding along.
TEST_F(HoldingsTest, ALaterStartShowsThemAndADeletedRowTakesItsHolding) {
    ServiceProcess service(kMarketOpen);
    RouteQuotesTo(service.port());
    StoreRows({{u"MSFT", u"U"}, {u"VOD", u"G"}});
    WriteHostText(kHoldingsPath, kEntered);
    device_.Key(VK_F1)
        .Check([&] { CheckFigures(); })
        .TapText(u"MSFT")
        .TapText(u"Delete")
        .Check([&] {
            EXPECT_EQ(RowWith(u"USD "), u"");
            EXPECT_NE(RowWith(u"GBP "), u"");
            EXPECT_EQ(Cell(0, 3), u"300");
        })
        .Key('Q', false, true);
    ASSERT_EQ(Start(), 0);
    EXPECT_EQ(ReadHostText(kHoldingsPath), std::string(kHeader) + "VOD,G,300,\n");
}

// Every bad entry names its field and keeps the dialog open with what was typed; nothing is
// saved.
TEST_F(HoldingsTest, BadEntriesAreRefusedWithTheFieldNamed) {
    StoreQuotes({{u"MSFT", u"U", u"500.00", u"+1.00"}});
    const struct {
        std::u16string shares, price, field;
    } cases[] = {
        {u"0", u"", u"Shares"},        {u"1.1234567", u"", u"Shares"}, {u"ten", u"", u"Shares"},
        {u"-1", u"", u"Shares"},       {u"", u"5", u"Shares"},         {u"2", u"-5", u"Price paid"},
        {u"2", u"1,5", u"Price paid"}, {u"2", u"1e3", u"Price paid"},
    };
    for (const auto& c : cases) {
        OpenHolding(u"MSFT").Type(c.shares).Key(VK_TAB).Type(c.price).Key(VK_RETURN).Check([&] {
            ASSERT_FALSE(messages_.records().empty()) << Narrow(c.shares);
            const auto& last = messages_.records().back();
            EXPECT_EQ(last.caption, u"Validation Error");
            EXPECT_EQ(last.text.rfind(c.field + u":", 0), 0u) << Narrow(last.text);
            EXPECT_NE(device_.Text().find(u"Symbol: MSFT"), std::u16string::npos);  // still open
            if (!c.shares.empty()) {
                EXPECT_NE(device_.Text().find(c.shares), std::u16string::npos);
            }
            messages_.clear();
        });
        device_.Key(VK_ESCAPE);
    }
    device_.Key('Q', false, true);
    ASSERT_EQ(Start(), 0);
    EXPECT_FALSE(FindHolding(u"MSFT", u"U"));
    EXPECT_TRUE(ReadHostFile(kHoldingsPath).empty());  // never written
}

// Lines that are not holdings, and holdings of rows not in the portfolio, are written back as
// they were when a holding changes.
TEST_F(HoldingsTest, AChangeKeepsEveryOtherLine) {
    StoreQuotes({{u"MSFT", u"U", u"500.00", u"+1.00"}, {u"IBM", u"U", u"200.00", u"-2.00"}});
    const std::string others = "garbage,,\r\nIBM-X,U,5,10\n\"A,B\",U,1,\nMSFT,U,2,x\n";
    WriteHostText(kHoldingsPath, std::string(kHeader) + others + "MSFT,U,2,450\n");
    OpenHolding(u"IBM").Type(u"10").Key(VK_RETURN).Key('Q', false, true);
    ASSERT_EQ(Start(), 0);
    EXPECT_TRUE(messages_.records().empty());
    EXPECT_EQ(ReadHostText(kHoldingsPath),
              std::string(kHeader) + others + "MSFT,U,2,450\nIBM,U,10,\n");
}

// A line too long to keep: the file is unreadable, so holdings stay off and untouched, even
// when a row goes.
TEST_F(HoldingsTest, AnUnreadableFileIsLeftAlone) {
    StoreQuotes({{u"MSFT", u"U", u"500.00", u"+1.00"}, {u"IBM", u"U", u"200.00", u"-2.00"}});
    const std::string unreadable = std::string(kHeader) + std::string(300, 'x') + "\n";
    WriteHostText(kHoldingsPath, unreadable);
    device_
        .Check([&] {
            EXPECT_EQ(firstHoldingColumn, -1);
            ASSERT_EQ(messages_.records().size(), 1u);
            EXPECT_EQ(messages_.records()[0].caption, u"Error");
        })
        .TapText(u"IBM")
        .TapText(u"Holding...")  // says why it cannot open
        .TapText(u"IBM")
        .TapText(u"Delete")
        .Key('Q', false, true);
    ASSERT_EQ(Start(), 0);
    EXPECT_EQ(messages_.records().size(), 3u);  // unreadable, no change, the delete's question
    EXPECT_EQ(PortfolioRowCount(), 1);
    EXPECT_EQ(ReadHostText(kHoldingsPath), unreadable);
}

}  // namespace
