// The quote list's header taps sort it; a tap on a row selects it and opens the row menu, whose
// Delete asks and removes that row from the list and the file. On the real viewer, by taps and
// keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "listview/quote_sort.h"
#include "listview/row_selection.h"
#include "listview/sort_keys.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/message_loop.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "support/service_process.h"
#include "support/viewer_fixture.h"

namespace {

using tickwell_test::Narrow;
using tickwell_test::ServiceProcess;
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

// Dates as dates, times of day as times, sizes with their factor; what holds no such value
// ("N/A", "*") after the rest whichever the direction. The first tap reverses the base order.
TEST_F(SortAndSelectTest, DatesTimesAndSizesSortAsWhatTheyMeanAndNoValueLast) {
    Columns({u"LastTrdDate", u"LastTrdTime", u"MarketCap", u"SharesOut"});
    Row old{u"OLD"}, now{u"NOW"}, none{u"NONE"};
    old.lastTradeDate = u"12/1/2006";  // its month alone would read as 12, now's as 3
    now.lastTradeDate = u"3/30/2007";
    old.lastTradeTime = u"4:30pm";  // its hour alone would tie with now's
    now.lastTradeTime = u"4:00pm";
    old.marketCap = u"537.69M";  // its digits alone would be the greater
    now.marketCap = u"71.8B";
    old.sharesOut = u"9000000";  // as text, "9..." after "1..."
    now.sharesOut = u"10000000000";
    none.lastTradeDate = none.lastTradeTime = none.marketCap = u"N/A";  // sharesOut "*"
    StoreQuotes({none, old, now});
    const struct {
        const char16_t* header;
        Symbols firstTap, secondTap;
    } columns[] = {{u"Last Trd", {"NOW", "OLD", "NONE"}, {"OLD", "NOW", "NONE"}},
                   {u"Trade Ti", {"OLD", "NOW", "NONE"}, {"NOW", "OLD", "NONE"}},
                   {u"Market C", {"NOW", "OLD", "NONE"}, {"OLD", "NOW", "NONE"}},
                   {u"Shares O", {"NOW", "OLD", "NONE"}, {"OLD", "NOW", "NONE"}}};
    // The header marks the sorted column alone, with the direction the order reads in.
    const auto marked = [&](const char16_t* header, char16_t mark) {
        const std::u16string row = device_.Row(2);
        const std::size_t at = row.find(header);
        ASSERT_NE(at, std::u16string::npos) << Narrow(header);
        EXPECT_EQ(row.find_first_of(u"\u25B2\u25BC"), row.find(mark, at)) << Narrow(row);
        EXPECT_EQ(row.find_last_of(u"\u25B2\u25BC"), row.find(mark, at)) << Narrow(row);
    };
    for (const auto& column : columns) {
        device_.TapText(column.header)
            .Check([&] {
                EXPECT_EQ(Order(), column.firstTap) << Narrow(column.header);
                marked(column.header, u'\u25BC');
            })
            .TapText(column.header)
            .Check([&] {
                EXPECT_EQ(Order(), column.secondTap) << Narrow(column.header);
                marked(column.header, u'\u25B2');
            });
    }
    // A refresh shows the portfolio's own order again, and no mark.
    ServiceProcess service;
    RouteQuotesTo(service.port());
    device_.Key(VK_F1)
        .Check([&] {
            EXPECT_EQ(Order(), (Symbols{"NONE", "OLD", "NOW"}));
            EXPECT_EQ(device_.Row(2).find_first_of(u"\u25B2\u25BC"), std::u16string::npos);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(SortAndSelectTest, CompanyNameIsTextAndExchSortsByTheSuffixShown) {
    Columns({u"CoName", u"Exchange"});
    Row alpha{u"SAO", u"a"}, zeta{u"NYC", u"U"}, chi{u"CHI", u"1"};
    alpha.companyName = u"alpha";
    zeta.companyName = u"Zeta";
    chi.companyName = u"Zeta";
    StoreQuotes({alpha, zeta, chi});
    device_.TapText(u"Company Na")
        .TapText(u"Company Na")
        .Check([&] { EXPECT_EQ(Order().back(), "SAO"); })  // "Z" < "a"
        .TapText(u"Exch")
        .TapText(u"Exch")
        .Check([&] {
            // Suffixes CBT, SA, USA; their codes 1, a, U would give CHI, NYC, SAO.
            EXPECT_EQ(Order(), (Symbols{"CHI", "SAO", "NYC"}));
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

TEST(QuoteSort, EachKindReadsItsKeyOrNone) {
    const struct {
        SortKeyKind kind;
        const char16_t* text;
        bool has;
        double key;
    } cases[] = {
        {SortKeyKind::number, u"  +1.50%", true, 1.5},
        {SortKeyKind::number, u"-0.25", true, -0.25},
        {SortKeyKind::number, u"2e3x", true, 2000},
        {SortKeyKind::number, u"2ex", true, 2},
        {SortKeyKind::number, u".5", true, 0.5},
        {SortKeyKind::number, u"0x10", true, 0},
        {SortKeyKind::number, u"N/A", false, 0},
        {SortKeyKind::number, u"*", false, 0},
        {SortKeyKind::number, u"", false, 0},
        {SortKeyKind::number, u"inf", false, 0},
        {SortKeyKind::number, u"-", false, 0},
        {SortKeyKind::number, u".", false, 0},
        {SortKeyKind::date, u"12/7/2026", true, 20261207},
        {SortKeyKind::date, u"1/15/2007", true, 20070115},
        {SortKeyKind::date, u"13/1/2006", false, 0},
        {SortKeyKind::date, u"12/1", false, 0},
        {SortKeyKind::date, u"N/A", false, 0},
        {SortKeyKind::time, u"4:00pm", true, 960},
        {SortKeyKind::time, u"12:05am", true, 5},
        {SortKeyKind::time, u"12:00pm", true, 720},
        {SortKeyKind::time, u"9:30AM", true, 570},
        {SortKeyKind::time, u"4:00", false, 0},
        {SortKeyKind::time, u"13:00pm", false, 0},
        {SortKeyKind::time, u"N/A", false, 0},
        {SortKeyKind::size, u"537.69M", true, 537.69e6},
        {SortKeyKind::size, u"71.8B", true, 71.8e9},
        {SortKeyKind::size, u"2.5K", true, 2500},
        {SortKeyKind::size, u"1.1T", true, 1.1e12},
        {SortKeyKind::size, u"4731000000", true, 4731000000},
        {SortKeyKind::size, u"N/A", false, 0},
    };
    for (const auto& c : cases) {
        double key = -1;
        EXPECT_EQ(ReadSortKey(c.kind, c.text, key), c.has) << Narrow(c.text);
        if (c.has) {
            EXPECT_DOUBLE_EQ(key, c.key) << Narrow(c.text);
        }
    }
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
