// Buttons and check boxes on the headless device, driven by keys and taps.
#include <gtest/gtest.h>

#include "platform/comctl32/control_wrappers.h"
#include "support/control_fixture.h"

namespace {

using tickwell_test::ControlTest;
using tickwell_test::notes;

TEST_F(ControlTest, ButtonsAndCheckBoxes) {
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

}  // namespace
