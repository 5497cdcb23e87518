// The list view on the headless device, driven by keys and taps.
#include <gtest/gtest.h>

#include <string>

#include "platform/comctl32/control_wrappers.h"
#include "support/control_fixture.h"

namespace {

using tickwell_test::ControlTest;
using tickwell_test::notes;

TEST_F(ControlTest, ListColumnsKeepInsertionPositionsAndAlignment) {
    platform::ListViewCtrl list(Make(WC_LISTVIEWW, LVS_REPORT, 0, 0, 360, 130, 2));
    EXPECT_EQ(list.InsertColumn(0, u"Symbol", LVCFMT_LEFT, 70, 0), 0);
    EXPECT_EQ(list.InsertColumn(1, u"Last $", LVCFMT_RIGHT, 55, 1), 1);
    EXPECT_EQ(list.InsertColumn(2, u"i", LVCFMT_LEFT, 0, 2), 2);  // hidden
    EXPECT_EQ(list.InsertColumn(9, u"Exch", LVCFMT_LEFT, 45, 3), 3);
    list.InsertItem(0, u"MSFT", 0, 0);
    list.SetItemText(0, 1, u"29.36");
    list.SetItemText(0, 2, u"0");
    list.SetItemText(0, 3, u"USA");
    device_.Check([&] {
        // Symbol: 11 cells, left; Last $: 9 cells, right-aligned in 8; "i" hidden; Exch after.
        EXPECT_EQ(device_.Row(2).substr(0, 27), u"Symbol       Last $ Exch   ");
        EXPECT_EQ(device_.Row(3).substr(0, 24), u"MSFT          29.36 USA ");
    });
    device_.RunMessageLoop();
}

TEST_F(ControlTest, ListTextReadsAreCutToCapacity) {
    auto list = MakeList(3, 2);
    EXPECT_EQ(ItemText(list, 1, 1), u"1.1");
    EXPECT_EQ(ItemText(list, 1, 1, 3), u"1.");
    EXPECT_EQ(ItemText(list, 1, 1, 1), u"");
    EXPECT_EQ(ItemText(list, 7, 0), u"");  // no such item
    EXPECT_EQ(ItemText(list, 1, 9), u"");  // no such sub-item
    EXPECT_FALSE(list.SetItemText(3, 1, u"x"));
    EXPECT_EQ(list.GetItemCount(), 3);
    platform::ListViewCtrl gone(nullptr);
    EXPECT_EQ(gone.GetItemCount(), 0);
    EXPECT_EQ(gone.InsertItem(0, u"x", 0, 0), -1);
}

TEST_F(ControlTest, ListSortsWithTheProgramsComparison) {
    auto list = MakeList(5, 2);
    ASSERT_TRUE(
        list.SortItems([](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }, 0));
    EXPECT_EQ(ItemText(list, 0, 0), u"4.0");
    EXPECT_EQ(ItemText(list, 4, 1), u"0.1");
}

TEST_F(ControlTest, ListSortKeepsTheOrderOfEqualKeys) {
    // 200 items with three keys: an unstable sort reorders equal items of so many.
    auto list = MakeList(200, 1, 20 * 13);
    ASSERT_TRUE(list.SortItems(
        [](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(a % 3 - b % 3); }, 0));
    const auto row = [&](int item) {
        const std::u16string text = ItemText(list, item, 0);
        return std::stoi(std::string(text.begin(), text.end()));
    };
    for (int i = 1; i < 200; ++i) {
        const int before = row(i - 1);
        const int here = row(i);
        ASSERT_TRUE(before % 3 < here % 3 || (before % 3 == here % 3 && before < here))
            << "item " << i << ": " << before << " then " << here;
    }
}

TEST_F(ControlTest, ListFocusFollowsTapsAndKeys) {
    auto list = MakeList(30, 2);
    const auto focused = [&] {
        for (int i = 0; i < list.GetItemCount(); ++i) {
            if (list.GetItemState(i, LVIS_FOCUSED)) return i;
        }
        return -1;
    };
    device_.TapText(u"2.0")
        .Check([&] {
            EXPECT_EQ(focused(), 2);
            EXPECT_EQ(list.GetItemState(2, LVIS_SELECTED), LVIS_SELECTED);
        })
        .Key(VK_DOWN)
        .Key(VK_RETURN)
        .Key(VK_END)
        .Check([&] {
            EXPECT_EQ(focused(), 29);
            EXPECT_LE(list.GetTopIndex(), 29);
            EXPECT_GT(list.GetTopIndex() + list.GetCountPerPage(), 29);  // kept in view
            EXPECT_NE(device_.Text().find(u"29.0"), std::u16string::npos);
        })
        .Key(VK_PRIOR)
        .Check([&] { EXPECT_EQ(focused(), 29 - list.GetCountPerPage()); })
        .Key(VK_HOME)
        .Check([&] {
            EXPECT_EQ(focused(), 0);
            EXPECT_EQ(list.GetTopIndex(), 0);
        });
    device_.RunMessageLoop();
    EXPECT_EQ(notes, (std::vector<std::string>{"click 2 0", "click 3 0"}));
    EXPECT_EQ(list.GetCountPerPage(), 9);
}

TEST_F(ControlTest, ATapBelowTheLastRowKeepsTheFocus) {
    auto list = MakeList(3, 2);
    list.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    device_.TapCell(3, 2 + 1 + 6);  // the header is on row 2, rows 3 to 5 hold the items
    device_.RunMessageLoop();
    EXPECT_EQ(notes, std::vector<std::string>{"click -1 0"});
    EXPECT_EQ(list.GetItemState(1, LVIS_FOCUSED), LVIS_FOCUSED);
}

TEST_F(ControlTest, HeaderTapsNameThePositionAlsoAfterADragAndTheFirstColumnStays) {
    auto list = MakeList(2, 3);
    list.SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    const auto order = [&] {
        std::vector<int> o(3);
        EXPECT_TRUE(list.GetColumnOrderArray(3, o.data()));
        return o;
    };
    device_.TapText(u"CB")
        .Check([&] { SetFocus(list.handle()); })
        .Key(VK_TAB)          // to the headers, on "CA"
        .Key(VK_RIGHT, true)  // the first column moves nowhere
        .Key(VK_RIGHT)        // on "CB"
        .Key(VK_LEFT, true)   // and nothing moves in front of it
        .Check([&] {
            EXPECT_EQ(order(), (std::vector<int>{0, 1, 2}));
        })
        .Key(VK_RIGHT, true)  // drag "CB" one place right
        .Check([&] {
            EXPECT_EQ(order(), (std::vector<int>{0, 2, 1}));
            EXPECT_LT(device_.Row(2).find(u"CC"), device_.Row(2).find(u"CB"));
        })
        .Key(VK_RETURN)  // taps the header in focus: "CB", position 1
        .TapText(u"CC");
    device_.RunMessageLoop();
    EXPECT_EQ(notes, (std::vector<std::string>{"column -1 1", "column -1 1", "column -1 2"}));
}

TEST_F(ControlTest, ListScrollsColumnsAndDrawsRowImagesInTheirColours) {
    const HINSTANCE instance = RegisterModule(&tickwell_test::kIconResources);
    auto list = MakeList(3, 8);
    const HIMAGELIST images = ImageList_Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 0);
    for (UINT id : {126u, 128u, 127u}) {
        const HICON icon = LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0);
        ImageList_AddIcon(images, icon);
        DestroyIcon(icon);
    }
    list.SetImageList(images);
    device_
        .Check([&] {
            EXPECT_EQ(device_.screen().At(0, 3).fg, Color::green);
            EXPECT_EQ(device_.screen().At(0, 4).fg, Color::red);
            EXPECT_EQ(device_.screen().At(0, 5).fg, Color::blue);
            EXPECT_EQ(device_.Row(3).substr(0, 5), u"\u25A0 0.0");
            list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        })
        .Check([&] {
            // A selected row's mark keeps its colour: blue on blue would hide it.
            EXPECT_EQ(device_.screen().At(0, 5).fg, Color::blue);
            EXPECT_EQ(device_.screen().At(0, 5).bg, Color::white);
            EXPECT_EQ(device_.screen().At(2, 5).bg, Color::blue);
            list.SetItem(2, u"2.0", I_IMAGENONE, 2);
        })
        .Check([&] {
            // No image of its own: its place stays blank, the text in line with the others.
            EXPECT_EQ(device_.Row(5).substr(0, 5), u"  2.0");
        })
        .Check([&] { SetFocus(list.handle()); })
        .Key(VK_RIGHT)
        .Check([&] {
            // The first column stays; the next is scrolled away, and a mark says so.
            const std::u16string header = device_.Row(2);
            EXPECT_EQ(header.substr(0, 2), u"CA");
            EXPECT_LT(header.find(u'\u25C2'), header.find(u"CC"));
            EXPECT_EQ(header.find(u"CB"), std::u16string::npos);
        });
    // A click on a mark scrolls that way, as the arrow keys do; it sorts nothing. "\u25C2" ends
    // the first column (10 cells), "\u25B8" the list (60 cells).
    device_.Check([&] { EXPECT_EQ(device_.Row(2).find(u'\u25C2'), 9u); })
        .TapCell(9, 2)
        .Check([&] {
            EXPECT_NE(device_.Row(2).find(u"CB"), std::u16string::npos);
            EXPECT_EQ(device_.Row(2).find(u'\u25C2'), std::u16string::npos);
            EXPECT_EQ(device_.Row(2).find(u'\u25B8'), 59u);
        })
        .TapCell(59, 2)
        .Check([&] {
            EXPECT_EQ(device_.Row(2).find(u"CB"), std::u16string::npos);
            EXPECT_TRUE(notes.empty());
        });
    device_.RunMessageLoop();
    DestroyWindow(list.handle());  // takes its image list along
    EXPECT_EQ(ImageList_GetImageCount(images), 0);
}

TEST_F(ControlTest, TwoHundredRowsByNineteenColumnsFillScrollAndSort) {
    auto list = MakeList(200, 19, 20 * 13);
    EXPECT_EQ(list.GetItemCount(), 200);
    EXPECT_EQ(ItemText(list, 199, 18), u"199.18");
    list.SortItems([](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }, 0);
    EXPECT_EQ(ItemText(list, 0, 18), u"199.18");
    // More rows below: the list's last cell says so, until the last row shows. The last column
    // that does not fit whole is not drawn: no part of its number reads as a value.
    const int last = 2 + 20 - 1;                             // the header on row 2, then 19 rows
    MoveWindow(list.handle(), 0, 0, 56 * 6, 20 * 13, TRUE);  // 56 cells: CF (50 to 59) is cut
    device_
        .Check([&] {
            SetFocus(list.handle());
            EXPECT_EQ(device_.Row(last)[55], u'\u25BE');
            EXPECT_EQ(device_.Row(3).substr(50, 6), std::u16string(6, u' '));
            EXPECT_EQ(device_.Row(2).substr(50, 5), std::u16string(5, u' '));
            EXPECT_EQ(device_.Row(2)[55], u'\u25B8');
        })
        .Key(VK_DOWN)
        .Key(VK_NEXT)
        .Key(VK_NEXT)
        .Check([&] { EXPECT_GT(list.GetTopIndex(), 0); })
        .Wheel(100, 100, 20)
        .Check([&] { EXPECT_NE(device_.Text().find(u"199.0"), std::u16string::npos); })
        .Key(VK_END)
        .Check([&] { EXPECT_NE(device_.Row(last)[55], u'\u25BE'); });
    device_.RunMessageLoop();
}

}  // namespace
