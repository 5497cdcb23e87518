// Edit boxes on the headless device, driven by keys and taps.
#include <gtest/gtest.h>

#include "platform/comctl32/control_wrappers.h"
#include "support/control_fixture.h"

namespace {

using tickwell_test::ControlTest;
using tickwell_test::notes;

TEST_F(ControlTest, EditLimitsUpperCaseAndDigits) {
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

TEST_F(ControlTest, TypedPunctuationIsTextNotAKey) {
    // "$" and "%" share their codes with Home and Left, "!" "#" "&" "(" with PgUp, End, Up
    // and Down: typed, they are characters.
    platform::EditCtrl edit(Make(u"EDIT", ES_UPPERCASE | ES_AUTOHSCROLL, 0, 0, 120, 14, 1024));
    device_.Check([&] { SetFocus(edit.handle()); }).Type(u"AB$C%!#&(D");
    device_.RunMessageLoop();
    char16_t text[16] = {};
    edit.GetText(text, 16);
    EXPECT_EQ(std::u16string(text), u"AB$C%!#&(D");
}

}  // namespace
