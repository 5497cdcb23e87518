// A parent window for controls on the headless device; it notes every command and list
// notification it gets.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/comctl32/control_wrappers.h"
#include "platform/testing/headless.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/resources.h"
#include "platform/user32/window.h"

namespace tickwell_test {

// "command <id> <code>", "click <item> <sub-item>", "column <item> <sub-item>".
extern std::vector<std::string> notes;

inline constexpr IconResource kRowIcons[] = {
    {126, Color::green}, {128, Color::red}, {127, Color::blue}};
inline constexpr ResourceTable kIconResources = {{}, {}, {}, {}, kRowIcons, {}, nullptr};

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;

    HWND Make(const char16_t* cls, DWORD style, int x, int y, int w, int h, int id,
              const char16_t* text = u"");
    // A list of `rows` items over `columns` columns: item r, sub-item c holds "r.c".
    platform::ListViewCtrl MakeList(int rows, int columns, int height = 10 * 13);
    std::u16string ItemText(const platform::ListViewCtrl& list, int item, int sub,
                            int capacity = 32);

    platform::testing::HeadlessDevice device_{60, 24};
    HWND parent_ = nullptr;
};

}  // namespace tickwell_test
