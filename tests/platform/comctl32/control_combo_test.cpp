// Combo boxes on the headless device, driven by keys and taps.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/comctl32/control_wrappers.h"
#include "support/control_fixture.h"

namespace {

using tickwell_test::ControlTest;
using tickwell_test::notes;

TEST_F(ControlTest, ComboKeepsItemDataAndChoosesByKeysAndTaps) {
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

}  // namespace
