// The up-down control on the headless device, driven by keys and taps.
#include <gtest/gtest.h>

#include "platform/comctl32/control_wrappers.h"
#include "support/control_fixture.h"

namespace {

using tickwell_test::ControlTest;
using tickwell_test::notes;

TEST_F(ControlTest, UpDownStaysInItsRangeAndWritesItsBuddy) {
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

}  // namespace
