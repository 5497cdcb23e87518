// Each of the viewer's dialog templates opens as a dialog (with a stand-in procedure here)
// and shows every text of its controls whole.
#include <gtest/gtest.h>

#include <string>

#include "platform/comctl32/controls.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/resources.h"
#include "platform/testing/headless.h"
#include "resources/app_resources.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"

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
                                           IDD_INTERNET_REFRESH, IDD_SET_PROXY));

}  // namespace
