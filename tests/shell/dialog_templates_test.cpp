// Each of the viewer's dialog templates opens as a dialog (with a stand-in procedure here)
// and shows every text of its controls whole.
#include <gtest/gtest.h>

#include <string>

#include "platform/comctl32/controls.h"
#include "platform/testing/headless.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/resources.h"
#include "resources/app_resources.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "winsys/window_system.h"

namespace {

using platform::testing::HeadlessDevice;

INT_PTR StandIn(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
}

std::u16string Plain(const char16_t* text) {
    std::u16string out;
    for (const char16_t* c = text; *c; ++c) {
        if (*c != u'&') out += *c;
    }
    return out;
}

class DialogTemplatesTest : public ::testing::TestWithParam<UINT> {
protected:
    HeadlessDevice device_{80, 24};
};

TEST_P(DialogTemplatesTest, OpensAndShowsEveryTextWhole) {
    const HINSTANCE instance = RegisterModule(&AppResources());
    const DialogResource* t = platform::FindDialogResource(instance, GetParam());
    ASSERT_NE(t, nullptr);
    device_
        .Check([&] {
            const std::u16string screen = device_.Text();
            EXPECT_NE(device_.Row(0).find(t->title), std::u16string::npos) << "title";
            // No text runs into the check box after it on its row.
            for (const char16_t* box : {u"[x]", u"[ ]"}) {
                for (std::size_t at = screen.find(box); at != std::u16string::npos;
                     at = screen.find(box, at + 1)) {
                    const char16_t before = at > 0 ? screen[at - 1] : u' ';
                    EXPECT_TRUE(before == u' ' || before == u'\n' || before == u'\u2502')
                        << "dialog " << GetParam() << " at " << at;
                }
            }
            for (const DialogItemResource& item : t->items) {
                if (!item.text || !*item.text) continue;
                // Long texts wrap at spaces: each of their words shows.
                std::u16string word;
                for (char16_t c : Plain(item.text) + u" ") {
                    if (c != u' ' && c != u'\r') {
                        word += c;
                        continue;
                    }
                    if (!word.empty()) {
                        EXPECT_NE(screen.find(word), std::u16string::npos)
                            << "dialog " << GetParam() << ": "
                            << std::string(word.begin(), word.end());
                    }
                    word.clear();
                }
            }
        })
        .Key(VK_ESCAPE)
        .Check([&] {})
        .TapText(u"[ok]");  // the About dialog closes only through its Done button
    const INT_PTR result = DialogBoxW(instance, MAKEINTRESOURCEW(GetParam()), nullptr, StandIn);
    EXPECT_TRUE(result == IDCANCEL || result == IDC_CANCEL_OPTIONS || result == IDOK) << result;
    EXPECT_TRUE(device_.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogTemplatesTest,
                         ::testing::Values(IDD_ABOUT, IDD_QUOTE_OPTIONS, IDD_SPEED_INSERT,
                                           IDD_INTERNET_REFRESH, IDD_SET_PROXY, IDD_HOLDING));

}  // namespace

namespace {

// Every cell a control of a dialog is drawn in takes a tap for that control, and for no other:
// what a user sees is what a click reaches.
TEST_P(DialogTemplatesTest, EveryCellOfEveryControlTakesItsTaps) {
    const HINSTANCE instance = RegisterModule(&AppResources());
    const DialogResource* t = platform::FindDialogResource(instance, GetParam());
    ASSERT_NE(t, nullptr);
    int checked = 0;
    device_
        .Check([&] {
            const HWND dialog = platform::detail::Windows().modalStack.back();
            for (const DialogItemResource& item : t->items) {
                if (item.id == IDC_STATIC) continue;
                const HWND control = GetDlgItem(dialog, item.id);
                ASSERT_NE(control, nullptr) << item.id;
                platform::CellRect cells = platform::detail::ScreenCells(control);
                // A closed drop-down list is drawn on its first row; its window holds the list.
                if (std::u16string_view(item.className) == u"COMBOBOX")
                    cells.bottom = cells.top + 1;
                for (int row = cells.top; row < cells.bottom; ++row) {
                    for (int column = cells.left; column < cells.right; ++column) {
                        const int x = column * platform::kCellWidth + platform::kCellWidth / 2;
                        const int y = row * platform::kCellHeight + platform::kCellHeight / 2;
                        EXPECT_EQ(platform::detail::ChildAt(dialog, x, y), control)
                            << "dialog " << GetParam() << ", control " << item.id << " at "
                            << column << "," << row;
                        ++checked;
                    }
                }
            }
        })
        .Key(VK_ESCAPE)
        .Check([&] {})
        .TapText(u"[ok]");
    DialogBoxW(instance, MAKEINTRESOURCEW(GetParam()), nullptr, StandIn);
    EXPECT_TRUE(checked > 0 || GetParam() == IDD_ABOUT);  // About has static texts alone
}

}  // namespace
