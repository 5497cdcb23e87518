// The quote list's header taps sort it; a tap on a row selects it and opens the row menu, whose
// Delete asks and removes that row from the list and the file. On the real viewer, by taps and
// keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "listview/quote_sort.h"
#include "listview/row_selection.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/message_loop.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "support/viewer_fixture.h"

namespace {

using tickwell_test::Narrow;
using Row = tickwell_test::StoredRow;

class SortAndSelectTest : public tickwell_test::ViewerTest {
protected:
    void SetUp() override {
        tickwell_test::ViewerTest::SetUp();
        for (bool& r : sortReversed) r = false;
        selectedIndex = 0;
        ClearText(selectedSymbol);
        ClearText(selectedSuffix);
    }

    // Only these columns, in their fixed order.
    void Columns(std::initializer_list<const char16_t*> names) {
        StoreSettings(false);
        for (const char16_t* name : names) WriteSettingFlag(name, true);
    }

    // The symbols of the list, top to bottom.
    std::vector<std::string> Order() const {
        std::vector<std::string> symbols;
        const platform::ListViewCtrl list(quoteListView);
        for (int i = 0; i < list.GetItemCount(); ++i) {
            char16_t text[16] = {};
            list.GetItemText(i, 0, text, 16);
            symbols.push_back(Narrow(text));
        }
        return symbols;
    }
    using Symbols = std::vector<std::string>;
};

TEST_F(SortAndSelectTest, TheFirstTapGivesDescendingTheSecondAscending) {
    Columns({});
    StoreQuotes({{u"C"}, {u"A"}, {u"B"}});
    device_.TapText(u"Symbol")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"C", "B", "A"}));
        })
        .TapText(u"Symbol")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"A", "B", "C"}));
            EXPECT_EQ(std::u16string(Portfolio[0].symbol), u"C");  // the portfolio keeps its
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, NumberColumnsCompareTheirLeadingNumberAndTextColumnsTheirText) {
    Columns({u"LastTrdDate", u"LastTrdTime", u"MarketCap"});
    Row old{u"OLD"}, now{u"NOW"};
    old.lastTradeDate = u"12/1/2006";  // the month alone counts: 12
    now.lastTradeDate = u"3/30/2007";  // 3
    old.lastTradeTime = u"10:30am";    // 10
    now.lastTradeTime = u"4:00pm";     // 4
    old.marketCap = u"500.0M";         // 500
    now.marketCap = u"1.2B";           // 1.2
    StoreQuotes({old, now});
    // Each header twice: the second tap gives the base order, ascending.
    device_.TapText(u"Last Trd")
        .TapText(u"Last Trd")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"NOW", "OLD"}));
        })
        .TapText(u"Trade Tim")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"OLD", "NOW"}));
        })  // reversed: 10 first
        .TapText(u"Trade Tim")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"NOW", "OLD"}));
        })
        .TapText(u"Market Ca")
        .TapText(u"Market Ca")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"NOW", "OLD"}));
        })  // 1.2 before 500
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, SharesOutAndCompanyNameAreText) {
    Columns({u"SharesOut", u"CoName"});
    Row seven{u"SEVEN"}, eleven{u"ELEVEN"};
    seven.sharesOut = u"9000000";
    eleven.sharesOut = u"10000000000";
    seven.companyName = u"alpha";
    eleven.companyName = u"Zeta";
    StoreQuotes({seven, eleven});
    device_.TapText(u"Shares Ou")
        .TapText(u"Shares Ou")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"ELEVEN", "SEVEN"}));
        })  // "1..." < "9..."
        .TapText(u"Company Na")
        .TapText(u"Company Na")
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"ELEVEN", "SEVEN"}));
        })  // "Z" < "a"
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, ExchSortsByTheCodeNotTheSuffixShown) {
    Columns({u"Exchange"});
    StoreQuotes({{u"SAO", u"a"}, {u"NYC", u"U"}, {u"CHI", u"1"}});
    device_.TapText(u"Exch")
        .TapText(u"Exch")
        .Check([&] {
            // Codes 1, U, a; their suffixes CBT, USA, SA would give CBT, SA, USA.
            EXPECT_EQ(Order(), (Symbols{"CHI", "NYC", "SAO"}));
            EXPECT_NE(device_.Row(3).find(u"CBT"), std::u16string::npos);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, EachPositionKeepsItsDirectionAcrossTapsAndRebuilds) {
    Columns({u"LastPrice", u"Change", u"PctChange", u"Volume", u"PrevClose"});
    Row a{u"A"}, b{u"B"};
    a.change = u"+1";
    b.change = u"+2";
    StoreQuotes({a, b});
    device_
        .TapText(u"Change")  // position 2
        .TapText(u"Volume")  // position 4
        .TapText(u"Change")
        .Check([&] {
            EXPECT_FALSE(sortReversed[2]);  // flipped twice
            EXPECT_TRUE(sortReversed[4]);
            EXPECT_EQ(Order(), (Symbols{"A", "B"}));  // column 2's base order: +1 before +2
            // Another column set: position 4 is now "Change", still flipped once.
            WriteSettingFlag(u"LastPrice", false);
            WriteSettingFlag(u"Exchange", true);
            WriteSettingFlag(u"CoName", false);
            WriteSettingFlag(u"Change", false);
            WriteSettingFlag(u"PctChange", true);
            WriteSettingFlag(u"Volume", true);
            WriteSettingFlag(u"EPS", true);
        })
        .Check([&] { RebuildQuoteList(mainWindow); })
        .TapText(u"Prev Clos")  // position 4 after Exch, % Chg, Volume
        .Check([&] {
            EXPECT_FALSE(sortReversed[4]);
            EXPECT_EQ(OptionalColumnAt(4)->title, std::u16string(u"Prev Close"));
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, DeleteRemovesTheRowThePositionShowsAfterASort) {
    Columns({});
    std::vector<Row> rows;
    for (int i = 0; i < 13; ++i) rows.push_back({u"A" + std::u16string(1, char16_t(u'A' + i))});
    StoreQuotes(rows);  // AA to AM; row 12 is AM
    device_
        .TapText(u"Symbol")  // descending: AM first
        .TapText(u"AM")
        .Check([&] {
            EXPECT_EQ(selectedIndex, 0);
            EXPECT_EQ(std::u16string(selectedSymbol), u"AM");
            EXPECT_NE(device_.Text().find(u"Delete"), std::u16string::npos);  // the row menu
        })
        .TapText(u"Delete")
        .Check([&] {
            ASSERT_EQ(messages_.records().size(), 1u);
            EXPECT_EQ(messages_.records()[0].text, u"Delete the selected row?");
            EXPECT_EQ(messages_.records()[0].caption, u"Information");
            EXPECT_EQ(messages_.records()[0].type, static_cast<UINT>(MB_OKCANCEL));
            EXPECT_EQ(messages_.records()[0].owner, mainWindow);
            EXPECT_EQ(PortfolioRowCount(), 12);
            EXPECT_EQ(std::u16string(Portfolio[11].symbol), u"AL");
            EXPECT_EQ(Order().front(), "AA");  // rebuilt: portfolio order
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(FileBytes(), ExpectedFile());
    const auto bytes = FileBytes();
    const std::string file(bytes.begin(), bytes.end());
    EXPECT_EQ(file.find(std::string("A\0M\0", 4)), std::string::npos);
}

TEST_F(SortAndSelectTest, DeleteThenCancelChangesNothing) {
    Columns({});
    StoreQuotes({{u"B"}, {u"A"}, {u"C"}});
    const auto before = FileBytes();
    messages_.set_answer(IDCANCEL);
    device_.TapText(u"Symbol")
        .TapText(u"B")
        .TapText(u"Delete")
        .Check([&] {
            EXPECT_EQ(messages_.records().size(), 1u);
            EXPECT_EQ(Order(), (Symbols{"C", "B", "A"}));  // still sorted
            EXPECT_EQ(PortfolioRowCount(), 3);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(SortAndSelectTest, ATapBelowTheRowsBeforeAnyTapTakesPositionZero) {
    Columns({u"Exchange"});
    StoreQuotes({{u"RY", u"T"}, {u"VOD", u"G"}});
    device_
        .TapCell(30, 10)  // under the two rows
        .Check([&] {
            EXPECT_EQ(selectedIndex, 0);
            EXPECT_EQ(std::u16string(selectedSymbol), u"RY");
            EXPECT_EQ(std::u16string(selectedSuffix), u"TO");
            EXPECT_NE(device_.Text().find(u"Market Summary"), std::u16string::npos);
        })
        .Key(VK_ESCAPE)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, TheSuffixIsTheSameWithTheExchColumnShownOrNot) {
    Columns({u"Exchange"});
    StoreQuotes({{u"RY", u"T"}, {u"VOD", u"G"}, {u"OLD", u"C"}});
    device_.TapText(u"VOD")
        .Key(VK_ESCAPE)
        .Check([&] {
            EXPECT_EQ(std::u16string(selectedSuffix), u"L");
            WriteSettingFlag(u"Exchange", false);
            RebuildQuoteList(mainWindow);
        })
        .TapText(u"Symbol")  // sorted: VOD, RY, OLD
        .TapText(u"VOD")
        .Key(VK_ESCAPE)
        .Check([&] {
            EXPECT_EQ(selectedIndex, 0);
            EXPECT_EQ(std::u16string(selectedSuffix), u"L");  // through the row's number
        })
        .TapText(u"OLD")
        .Key(VK_ESCAPE)
        .Check([&] { EXPECT_EQ(std::u16string(selectedSuffix), u"TO"); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, OpenedByAKeyTheMenuIsBesideTheRowOpenedByATapAtIt) {
    // 17 screen rows leave the list room for 12 rows a page: position 14 opens the menu at
    // x 100, y 13 x (14 mod 12) = 26 of the window's client area.
    platform::testing::HeadlessDevice small(100, 17);
    Columns({});
    std::vector<Row> rows;
    for (int i = 0; i < 20; ++i) rows.push_back({u"S" + std::u16string(1, char16_t(u'A' + i))});
    StoreQuotes(rows);
    int column = 0, row = 0;
    small.Key(VK_DOWN);
    for (int i = 0; i < 14; ++i) small.Key(VK_DOWN);
    small.Key(VK_RETURN)
        .Check([&] {
            EXPECT_EQ(platform::ListViewCtrl(quoteListView).GetCountPerPage(), 12);
            EXPECT_EQ(selectedIndex, 14);
            ASSERT_TRUE(small.Find(u"Insert", column, row));
            EXPECT_EQ(column, 100 / 6 + 2);      // the frame's column, a space
            EXPECT_EQ(row, (26 + 26) / 13 + 1);  // the window's top, y 26, the frame
        })
        .Key(VK_ESCAPE)
        .TapCell(40, 5)  // a row, by a tap: the menu opens where the tap was
        .Check([&] {
            ASSERT_TRUE(small.Find(u"Insert", column, row));
            EXPECT_EQ(column, 42);
            EXPECT_EQ(row, 6);
        })
        .Key(VK_ESCAPE)
        .TapCell(95, 14)  // near the screen's corner: the menu is moved onto the screen
        .Check([&] {
            ASSERT_TRUE(small.Find(u"Market Summary", column, row));
            EXPECT_LE(column + 16, 100);
            EXPECT_LE(row + 2, 17);
        })
        .Key(VK_ESCAPE)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, AnEmptyListHasNothingToSelectOrDelete) {
    Columns({});
    StoreQuotes({});
    device_.TapCell(20, 6)
        .Check([&] {
            EXPECT_EQ(std::u16string(selectedSymbol), u"");
            EXPECT_EQ(std::u16string(selectedSuffix), u"");
        })
        .TapText(u"Delete")
        .Check([&] {
            EXPECT_EQ(messages_.records().size(), 1u);  // asked, and nothing to delete
            EXPECT_EQ(PortfolioRowCount(), 0);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, ARowNumberThatNamesNoRowDeletesNothing) {
    Columns({});
    StoreQuotes({{u"A"}, {u"B"}});
    // Whatever the number column holds, only rows in use are ever read.
    const auto spoil = [&](int item, const char16_t* text) {
        return [this, item, text] {
            platform::ListViewCtrl(quoteListView).SetItemText(item, visibleColumnCount, text);
        };
    };
    device_.Check(spoil(0, u"x"))
        .TapText(u"A")
        .TapText(u"Delete")
        .Check([&] { EXPECT_EQ(PortfolioRowCount(), 2); })
        .Check(spoil(1, u"150"))  // the list was rebuilt: spoilt again
        .TapText(u"B")
        .Check([&] { EXPECT_EQ(std::u16string(selectedSuffix), u""); })
        .TapText(u"Delete")
        .Check([&] { EXPECT_EQ(PortfolioRowCount(), 2); })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST(QuoteSort, NumbersAreTheirLeadingDecimalNumber) {
    EXPECT_EQ(LeadingNumber(u"  +1.50%"), 1.5);
    EXPECT_EQ(LeadingNumber(u"-0.25"), -0.25);
    EXPECT_EQ(LeadingNumber(u"12/1/2006"), 12);
    EXPECT_EQ(LeadingNumber(u"1.2B"), 1.2);
    EXPECT_EQ(LeadingNumber(u"2e3x"), 2000);
    EXPECT_EQ(LeadingNumber(u"2ex"), 2);
    EXPECT_EQ(LeadingNumber(u".5"), 0.5);
    for (const char16_t* none : {u"N/A", u"", u"*", u"inf", u"nan", u"0x10", u"-", u"."})
        EXPECT_EQ(LeadingNumber(none), 0) << Narrow(none);
    EXPECT_EQ(LeadingNumber(u"0x10"), 0);  // decimal only: the 0 before the x
    EXPECT_EQ(CompareNumbers(1, 1), 0);
    EXPECT_EQ(CompareNumbers(2, 1), 1);
    EXPECT_EQ(CompareNumbers(1, 2), -1);
}

TEST(QuoteSort, APositionWithoutAFieldComparesEqual) {
    ClearPortfolio();
    AppendQuoteRow(u"B", u"U");
    AppendQuoteRow(u"A", u"U");
    columnFlags = {};
    visibleColumnCount = 1;
    EXPECT_GT(CompareQuoteRows(0, 1, 0), 0);
    EXPECT_EQ(CompareQuoteRows(0, 1, 1), 0);    // the row numbers' column
    EXPECT_EQ(CompareQuoteRows(0, 1, 19), 0);   // past every column
    EXPECT_EQ(CompareQuoteRows(0, 500, 0), 0);  // no such row: never read
    EXPECT_EQ(CompareQuoteRows(-1, 1, 0), 0);
}

}  // namespace
