// The controls on the headless device, driven by keys and taps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/resources.h"
#include "platform/testing/headless.h"
#include "platform/user32/window.h"

namespace {

using platform::testing::HeadlessDevice;

std::vector<std::string> notes;

LRESULT ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        notes.push_back("command " + std::to_string(LOWORD(wParam)) + " " +
                        std::to_string(HIWORD(wParam)));
        return 0;
    }
    if (message == WM_NOTIFY) {
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
        const char* name = nm->hdr.code == NM_CLICK          ? "click"
                           : nm->hdr.code == LVN_COLUMNCLICK ? "column"
                                                             : "?";
        notes.push_back(std::string(name) + " " + std::to_string(nm->iItem) + " " +
                        std::to_string(nm->iSubItem));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const IconResource kIcons[] = {{126, Color::green}, {128, Color::red}, {127, Color::blue}};
const ResourceTable kResources = {{}, {}, {}, {}, kIcons, {}, nullptr};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        notes.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = u"Parent";
        RegisterClassW(&wc);
        parent_ = CreateWindowExW(0, u"Parent", u"parent", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    }

    HWND Make(const char16_t* cls, DWORD style, int x, int y, int w, int h, int id,
              const char16_t* text = u"") {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent_,
                               reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr,
                               nullptr);
    }

    // A list of `rows` items over `columns` columns: item r, sub-item c holds "r.c".
    platform::ListViewCtrl MakeList(int rows, int columns, int height = 10 * 13) {
        platform::ListViewCtrl list(
            Make(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL, 0, 0, 360, height, 2));
        for (int c = 0; c < columns; ++c) {
            const std::u16string title = u"C" + std::u16string(1, char16_t(u'A' + c));
            list.InsertColumn(c, title.c_str(), c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT, 60, c);
        }
        for (int r = 0; r < rows; ++r) {
            const auto text = [&](int c) {
                const std::string s = std::to_string(r) + "." + std::to_string(c);
                return std::u16string(s.begin(), s.end());
            };
            list.InsertItem(r, text(0).c_str(), r % 3, r);
            for (int c = 1; c < columns; ++c) list.SetItemText(r, c, text(c).c_str());
        }
        return list;
    }

    std::u16string ItemText(const platform::ListViewCtrl& list, int item, int sub,
                            int capacity = 32) {
        std::u16string buffer(static_cast<std::size_t>(capacity), u'#');
        list.GetItemText(item, sub, buffer.data(), capacity);
        return buffer.c_str();
    }

    HeadlessDevice device_{60, 24};
    HWND parent_ = nullptr;
};

TEST_F(ControlsTest, ListColumnsKeepInsertionPositionsAndAlignment) {
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

TEST_F(ControlsTest, ListTextReadsAreCutToCapacity) {
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

TEST_F(ControlsTest, ListSortsWithTheProgramsComparison) {
    auto list = MakeList(5, 2);
    ASSERT_TRUE(
        list.SortItems([](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }, 0));
    EXPECT_EQ(ItemText(list, 0, 0), u"4.0");
    EXPECT_EQ(ItemText(list, 4, 1), u"0.1");
    // Equal keys keep their order.
    list.SortItems([](LPARAM, LPARAM, LPARAM) { return 0; }, 0);
    EXPECT_EQ(ItemText(list, 0, 0), u"4.0");
}

TEST_F(ControlsTest, ListFocusFollowsTapsAndKeys) {
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

TEST_F(ControlsTest, ATapBelowTheLastRowKeepsTheFocus) {
    auto list = MakeList(3, 2);
    list.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    device_.TapCell(3, 2 + 1 + 6);  // the header is on row 2, rows 3 to 5 hold the items
    device_.RunMessageLoop();
    EXPECT_EQ(notes, std::vector<std::string>{"click -1 0"});
    EXPECT_EQ(list.GetItemState(1, LVIS_FOCUSED), LVIS_FOCUSED);
}

TEST_F(ControlsTest, HeaderTapsNameThePositionAlsoAfterADrag) {
    auto list = MakeList(2, 3);
    list.SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    device_.TapText(u"CB")
        .Check([&] { SetFocus(list.handle()); })
        .Key(VK_TAB)          // to the headers, on "CA"
        .Key(VK_RIGHT, true)  // drag "CA" one place right
        .Check([&] {
            int order[3] = {};
            ASSERT_TRUE(list.GetColumnOrderArray(3, order));
            EXPECT_EQ(order[0], 1);
            EXPECT_EQ(order[1], 0);
            EXPECT_LT(device_.Row(2).find(u"CB"), device_.Row(2).find(u"CA"));
        })
        .Key(VK_RETURN)  // taps the header in focus: "CA", position 0
        .TapCell(1, 2);  // the first visual header is "CB", position 1
    device_.RunMessageLoop();
    EXPECT_EQ(notes, (std::vector<std::string>{"column -1 1", "column -1 0", "column -1 1"}));
}

TEST_F(ControlsTest, ListScrollsColumnsAndDrawsRowImagesInTheirColours) {
    const HINSTANCE instance = RegisterModule(&kResources);
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
        })
        .Check([&] { SetFocus(list.handle()); })
        .Key(VK_RIGHT)
        .Check([&] { EXPECT_EQ(device_.Row(2).substr(0, 10), u"       CB "); });
    device_.RunMessageLoop();
    DestroyWindow(list.handle());  // takes its image list along
    EXPECT_EQ(ImageList_GetImageCount(images), 0);
}

TEST_F(ControlsTest, TwoHundredRowsByNineteenColumnsFillScrollAndSort) {
    auto list = MakeList(200, 19, 20 * 13);
    EXPECT_EQ(list.GetItemCount(), 200);
    EXPECT_EQ(ItemText(list, 199, 18), u"199.18");
    list.SortItems([](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(b - a); }, 0);
    EXPECT_EQ(ItemText(list, 0, 18), u"199.18");
    device_.Check([&] { SetFocus(list.handle()); })
        .Key(VK_DOWN)
        .Key(VK_NEXT)
        .Key(VK_NEXT)
        .Check([&] { EXPECT_GT(list.GetTopIndex(), 0); })
        .Wheel(100, 100, 20)
        .Check([&] { EXPECT_NE(device_.Text().find(u"199.0"), std::u16string::npos); });
    device_.RunMessageLoop();
}

TEST_F(ControlsTest, EditLimitsUpperCaseAndDigits) {
    platform::EditCtrl upper(
        Make(u"EDIT", ES_UPPERCASE | ES_AUTOHSCROLL | WS_TABSTOP, 0, 0, 60, 14, 10));
    platform::EditCtrl digits(Make(u"EDIT", ES_NUMBER | ES_RIGHT | WS_TABSTOP, 0, 26, 60, 14, 11));
    upper.LimitText(5);
    device_.Check([&] { SetFocus(upper.handle()); })
        .Type(u"msft,goog")
        .Check([&] { SetFocus(digits.handle()); })
        .Type(u"1a2 3")
        .Key(VK_HOME)
        .Key(VK_DELETE)
        .Key(VK_END)
        .Key(VK_BACK);
    device_.RunMessageLoop();
    char16_t text[16] = {};
    upper.GetText(text, 16);
    EXPECT_EQ(std::u16string(text), u"MSFT,");
    digits.GetText(text, 16);
    EXPECT_EQ(std::u16string(text), u"2");
    EXPECT_GE(device_.bells(), 3);  // the refused characters
    upper.SetText(u"ABCDE");
    upper.SetSel(1, 3);
    int start = 0, end = 0;
    upper.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    device_.Check([&] { SetFocus(upper.handle()); }).Type(u"x");
    device_.RunMessageLoop();
    upper.GetText(text, 16);
    EXPECT_EQ(std::u16string(text), u"AXDE");
    EXPECT_EQ(upper.GetText(text, 3), 2);
    EXPECT_EQ(std::u16string(text), u"AX");
}

TEST_F(ControlsTest, ComboKeepsItemDataAndChoosesByKeysAndTaps) {
    platform::ComboBoxCtrl combo(
        Make(u"COMBOBOX", CBS_DROPDOWNLIST | WS_TABSTOP, 0, 0, 120, 80, 1001));
    for (const char16_t* name :
         {u"USA Major", u"Canada TSE", u"Canada Venture", u"United Kingdom"}) {
        const int index = combo.AddString(name);
        EXPECT_EQ(combo.SetItemData(index, index * 10), 0);
    }
    EXPECT_EQ(combo.GetItemData(2), 20);
    EXPECT_EQ(combo.GetItemData(9), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(0), 0);
    device_.Check([&] { SetFocus(combo.handle()); })
        .Key(VK_SPACE)  // opens the list
        .Check([&] { EXPECT_NE(device_.Text().find(u"United Kingdom"), std::u16string::npos); })
        .Key(VK_DOWN)
        .Key(VK_RETURN)
        .Check([&] { EXPECT_EQ(combo.GetCurSel(), 1); })
        .Type(u"c")  // the next entry starting with C
        .Check([&] { EXPECT_EQ(combo.GetCurSel(), 2); })
        .Key(VK_DOWN, false, false, true)
        .Key(VK_ESCAPE)  // closes without a change
        .Check([&] { EXPECT_EQ(combo.GetCurSel(), 2); })
        .TapText(u"Canada Venture")
        .TapText(u"United Kingdom");
    device_.RunMessageLoop();
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(combo.GetItemData(combo.GetCurSel()), 30);
    EXPECT_EQ(std::count(notes.begin(), notes.end(), "command 1001 1"), 3);  // CBN_SELCHANGE
    EXPECT_TRUE(device_.errors().empty());
}

TEST_F(ControlsTest, ButtonsAndCheckBoxes) {
    platform::ButtonCtrl check(
        Make(u"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, 120, 13, 1075, u"Use Proxy Server"));
    Make(u"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 26, 60, 13, 1018, u"&Apply");
    device_
        .Check(
            [&] { EXPECT_NE(device_.Text().find(u"[ ] Use Proxy Server"), std::u16string::npos); })
        .TapText(u"Use Proxy")
        .Check([&] {
            EXPECT_TRUE(check.GetCheck());
            EXPECT_NE(device_.Text().find(u"[x] Use Proxy Server"), std::u16string::npos);
        })
        .Key(VK_SPACE)
        .TapText(u"Apply");
    device_.RunMessageLoop();
    EXPECT_FALSE(check.GetCheck());
    check.SetCheck(true);
    EXPECT_TRUE(check.GetCheck());
    EXPECT_EQ(notes,
              (std::vector<std::string>{"command 1075 0", "command 1075 0", "command 1018 0"}));
}

TEST_F(ControlsTest, UpDownStaysInItsRangeAndWritesItsBuddy) {
    platform::EditCtrl buddy(Make(u"EDIT", ES_NUMBER | ES_RIGHT, 0, 0, 48, 14, 1022));
    platform::UpDownCtrl spin(
        Make(UPDOWN_CLASSW, UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS, 48,
             0, 28, 14, 1068));
    EXPECT_EQ(spin.GetBuddy(), buddy.handle());
    spin.SetRange32(0, 999);
    buddy.SetText(u"998");
    char16_t text[8] = {};
    device_.Check([&] { SetFocus(buddy.handle()); })
        .Key(VK_UP)
        .Key(VK_UP)  // stays at 999
        .Check([&] {
            buddy.GetText(text, 8);
            EXPECT_EQ(std::u16string(text), u"999");
        })
        .TapCell(9, 2)  // the down arrow
        .Check([&] { EXPECT_EQ(spin.GetPos32(), 998); });
    device_.RunMessageLoop();
    spin.SetPos32(5000);
    buddy.GetText(text, 8);
    EXPECT_EQ(std::u16string(text), u"999");
    spin.SetPos32(1000 - 1001);
    EXPECT_EQ(spin.GetPos32(), 0);
}

TEST_F(ControlsTest, StaticTextWrapsAndBreaksAtCarriageReturns) {
    Make(u"STATIC", SS_SUNKEN | WS_BORDER, 0, 0, 180, 4 * 13, -1,
         u"Tickwell\rVers. 3.3 Build 20061202.1");
    Make(u"STATIC", SS_LEFT, 0, 60, 60, 3 * 13, -1, u"Select Exchange and enter symbols");
    device_.Check([&] {
        EXPECT_EQ(device_.Row(2).substr(0, 2), u"\u250C\u2500");
        EXPECT_EQ(device_.Row(3).substr(0, 10), u"\u2502Tickwell ");
        EXPECT_EQ(device_.Row(4).substr(1, 26), u"Vers. 3.3 Build 20061202.1");
        EXPECT_EQ(device_.Row(6).substr(0, 10), u"Select    ");
        EXPECT_EQ(device_.Row(7).substr(0, 10), u"Exchange  ");
    });
    device_.RunMessageLoop();
}

}  // namespace
