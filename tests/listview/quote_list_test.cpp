// The quote list: its columns from the settings, its rows from the portfolio, the title line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "listview/quote_rows.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/testing/headless.h"
#include "platform/user32/window.h"
#include "resources/app_resources.h"
#include "settings/column_flags.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "support/device_fixture.h"

namespace {

using platform::ListViewCtrl;

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

class QuoteListTest : public tickwell_test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        appInstance = RegisterModule(&AppResources());
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.lpszClassName = u"Main";
        RegisterClassW(&wc);
        main_ =
            CreateWindowExW(0, u"Main", u"PIV", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, appInstance, nullptr);
    }

    static void Show(std::initializer_list<ColumnFlag> flags) {
        for (const char16_t* name : ColumnFlagNames) WriteSettingFlag(name, false);
        for (ColumnFlag f : flags) WriteSettingFlag(ColumnFlagNames[static_cast<int>(f)], true);
    }
    static void ShowAll() {
        for (const char16_t* name : ColumnFlagNames) WriteSettingFlag(name, true);
    }

    struct Column {
        std::u16string title;
        int format;
        int width;
    };
    std::vector<Column> Columns() const {
        std::vector<Column> columns;
        for (int i = 0;; ++i) {
            char16_t title[32] = {};
            LVCOLUMNW c{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, 0, 0, title, 32, 0};
            if (!SendMessageW(quoteListView, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&c)))
                return columns;
            columns.push_back({title, c.fmt, c.cx});
        }
    }
    std::u16string Cell(int item, int sub) const {
        char16_t text[32] = {};
        ListViewCtrl(quoteListView).GetItemText(item, sub, text, 32);
        return text;
    }
    int Image(int item) const {
        LVITEMW v{LVIF_IMAGE, item, 0, 0, 0, nullptr, 0, -1, 0};
        SendMessageW(quoteListView, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&v));
        return v.iImage;
    }

    platform::testing::HeadlessDevice device_{100, 24};
    HWND main_ = nullptr;
};

TEST_F(QuoteListTest, ColumnsFollowTheSettingsInTheirFixedOrder) {
    Show({});
    ASSERT_TRUE(CreateQuoteList(main_));
    auto columns = Columns();
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].title, u"Symbol");
    EXPECT_EQ(columns[0].width, 70);
    EXPECT_EQ(columns[1].title, u"i");
    EXPECT_EQ(columns[1].width, 0);
    EXPECT_EQ(visibleColumnCount, 1);

    DestroyWindow(quoteListView);
    Show({ColumnFlag::volume, ColumnFlag::pctChange});
    CreateQuoteList(main_);
    columns = Columns();
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[1].title, u"% Chg");
    EXPECT_EQ(columns[1].format, LVCFMT_RIGHT);
    EXPECT_EQ(columns[2].title, u"Volume");
    EXPECT_EQ(visibleColumnCount, 3);
    EXPECT_TRUE(columnFlags[ColumnFlag::pctChange]);
    EXPECT_FALSE(columnFlags[ColumnFlag::exchange]);

    DestroyWindow(quoteListView);
    ShowAll();
    CreateQuoteList(main_);
    columns = Columns();
    ASSERT_EQ(columns.size(), 19u);
    const char16_t* const titles[] = {
        u"Symbol",     u"Exch", u"Last $",        u"Change",     u"% Chg",      u"Volume",
        u"Prev Close", u"EPS",  u"Last Trd Date", u"Trade Time", u"PER",        u"Market Cap",
        u"High",       u"Low",  u"Yr High",       u"Yr Low",     u"Shares Out", u"Company Name",
        u"i"};
    const int widths[] = {70, 45, 55, 60, 60, 75, 65, 65,  65, 65,
                          65, 75, 50, 50, 60, 60, 95, 120, 0};
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(columns[i].title, titles[i]) << i;
        EXPECT_EQ(columns[i].width, widths[i]) << i;
        const bool left = i == 0 || i == 1 || i == 17 || i == 18;
        EXPECT_EQ(columns[i].format, left ? LVCFMT_LEFT : LVCFMT_RIGHT) << i;
    }
    EXPECT_EQ(visibleColumnCount, 18);
    EXPECT_EQ(ListViewCtrl(quoteListView).SetExtendedListViewStyle(0x30, 0), 0x30u);
}

TEST_F(QuoteListTest, TheListTakesWhatTheSoftInputPanelLeaves) {
    ShowAll();
    CreateQuoteList(main_);
    RECT main{}, list{};
    GetWindowRect(main_, &main);
    GetWindowRect(quoteListView, &list);
    // The panel's visible desktop is the screen under the navigation bar; the panel is never
    // up, so the window is 24 pixels shorter than that.
    EXPECT_EQ(main.right - main.left, 100 * 6);
    EXPECT_EQ(main.bottom - main.top, 24 * 13 - 26 - 24);
    EXPECT_EQ(list.top, main.top);
    EXPECT_EQ(list.bottom - list.top, main.bottom - main.top);
    EXPECT_EQ(GetDlgCtrlID(quoteListView), 2);
}

TEST_F(QuoteListTest, RowsCarryTheirIconSuffixAndPortfolioNumber) {
    Show({ColumnFlag::volume, ColumnFlag::coName, ColumnFlag::exchange});
    const struct {
        const char16_t* symbol;
        const char16_t* code;
        const char16_t* change;
    } rows[] = {{u"MSFT", u"U", u"+0.25"},
                {u"RY", u"T", u"-0.25"},
                {u"OLD", u"C", u"0.00"},
                {u"Q", u"Q", u"N/A"},
                {u"E", u"U", u""}};
    for (const auto& r : rows) {
        const int row = AppendQuoteRow(r.symbol, r.code);
        SetText(Portfolio[row].change, r.change);
        SetText(Portfolio[row].volume, u"123");
        SetText(Portfolio[row].companyName, u"Name");
    }
    CreateQuoteList(main_);
    FillQuoteRows(quoteListView, FillMode::insert);
    EXPECT_EQ(quoteRowCount, 5);
    EXPECT_EQ(ListViewCtrl(quoteListView).GetItemCount(), 5);
    EXPECT_EQ(Image(0), 0);            // green
    EXPECT_EQ(Image(1), 1);            // red
    EXPECT_EQ(Image(2), 2);            // blue: unchanged
    EXPECT_EQ(Image(3), I_IMAGENONE);  // no change known: no mark
    EXPECT_EQ(Image(4), I_IMAGENONE);
    EXPECT_EQ(Cell(0, 1), u"USA");
    EXPECT_EQ(Cell(1, 1), u"TO");
    EXPECT_EQ(Cell(2, 1), u"TO");  // older files wrote Toronto as "C"
    EXPECT_EQ(Cell(3, 1), u"");    // no exchange has "Q"
    EXPECT_EQ(Cell(1, 2), u"123");
    EXPECT_EQ(Cell(1, 3), u"Name");
    EXPECT_EQ(Cell(4, 4), u"4");  // the RowIndexColumn
}

TEST_F(QuoteListTest, TheWalkStopsAtTheFirstEmptyRowAndUpdatesInPlace) {
    Show({ColumnFlag::lastPrice});
    AppendQuoteRow(u"A", u"U");
    AppendQuoteRow(u"B", u"U");
    SetText(Portfolio[3].symbol, u"LOST");  // after the end of the table: never shown
    CreateQuoteList(main_);
    FillQuoteRows(quoteListView, FillMode::insert);
    EXPECT_EQ(quoteRowCount, 2);
    // A sort reorders the items; an in-place fill puts portfolio order back.
    ListViewCtrl(quoteListView)
        .SortItems([](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }, 0);
    EXPECT_EQ(Cell(0, 0), u"B");
    SetText(Portfolio[0].lastPrice, u"9.99");
    Portfolio[3] = {};
    AppendQuoteRow(u"C", u"U");  // appended since the list was built
    FillQuoteRows(quoteListView, FillMode::updateInPlace);
    EXPECT_EQ(Cell(0, 0), u"A");
    EXPECT_EQ(Cell(0, 1), u"9.99");
    EXPECT_EQ(Cell(1, 0), u"B");
    EXPECT_EQ(ListViewCtrl(quoteListView).GetItemCount(), 2);  // C shows from the next rebuild
    EXPECT_EQ(quoteRowCount, 3);
}

TEST_F(QuoteListTest, TheTitleLineHasTheTimeAndTheRowCount) {
    CreateQuoteList(main_);
    FillQuoteRows(quoteListView, FillMode::insert);  // an empty portfolio
    const auto title = [&] {
        device_.Check([] {});
        device_.RunMessageLoop();
        return device_.Row(0);
    };
    EXPECT_NE(title().find(u"PIV- 9:05( 0)"), std::u16string::npos);
    const auto at = [](WORD hour, WORD minute) {
        SYSTEMTIME t{};
        t.wHour = hour;
        t.wMinute = minute;
        return t;
    };
    quoteRowCount = 7;
    UpdateTitleLine(at(9, 5));
    EXPECT_NE(title().find(u"PIV- 9:05( 7)"), std::u16string::npos);
    quoteRowCount = 23;
    UpdateTitleLine(at(0, 0));
    EXPECT_NE(title().find(u"PIV- 0:00(23)"), std::u16string::npos);
    quoteRowCount = 120;
    UpdateTitleLine(at(23, 10));
    EXPECT_NE(title().find(u"PIV- 23:10(120)"), std::u16string::npos);
}

}  // namespace
