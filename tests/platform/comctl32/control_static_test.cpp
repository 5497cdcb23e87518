// Static text on the headless device, driven by keys and taps.
#include <gtest/gtest.h>

#include "platform/comctl32/control_wrappers.h"
#include "support/control_fixture.h"

namespace {

using tickwell_test::ControlTest;
using tickwell_test::notes;

TEST_F(ControlTest, StaticTextWrapsAndBreaksAtCarriageReturns) {
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
