// The dialog manager: templates, WM_INITDIALOG and focus, the dialog keys, a procedure that
// validates with a message box and stays open, full-screen dialogs.
#include <gtest/gtest.h>

#include <string>

#include "platform/aygshell/shell.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/testing/headless.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/resources.h"

namespace {

using platform::testing::HeadlessDevice;

constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
const DialogItemResource kItems[] = {
    {IDC_STATIC, u"STATIC", u"Symbols:", 4, 4, 40, 8, WS_CHILD | WS_VISIBLE},
    {10, u"EDIT", u"", 4, 14, 100, 12, kTab | ES_UPPERCASE | WS_BORDER},
    {11, u"BUTTON", u"Remember", 4, 30, 60, 10, kTab | BS_AUTOCHECKBOX},
    {IDOK, u"BUTTON", u"OK", 20, 44, 30, 12, kTab | BS_DEFPUSHBUTTON},
    {IDCANCEL, u"BUTTON", u"Cancel", 60, 44, 30, 12, kTab | BS_PUSHBUTTON},
};
const DialogItemResource kNoCancelItems[] = {
    {1018, u"BUTTON", u"&Apply", 4, 4, 40, 12, kTab | BS_DEFPUSHBUTTON},
    {1019, u"BUTTON", u"&Cancel", 50, 4, 40, 12, kTab | BS_PUSHBUTTON},
};
const DialogResource kDialogs[] = {
    {200, u"Test", 0, 0, 110, 60, WS_POPUP | WS_CAPTION, 0, u"System", 8, kItems},
    {201, u"Options", 0, 0, 100, 20, WS_POPUP | WS_CAPTION, 0, u"System", 8, kNoCancelItems},
    {202, u"Broken", 0, 0, 100, 20, WS_POPUP, 0, u"System", 8, {}},
};
const ResourceTable kResources = {{}, {}, {}, {}, {}, kDialogs, nullptr};

std::vector<std::string> seen;

// Accepts only a non-empty text; shows a message box from inside otherwise.
INT_PTR ValidatingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: seen.push_back("init " + std::to_string(lParam)); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                char16_t text[32] = {};
                GetDlgItemTextW(dialog, 10, text, 32);
                if (!text[0]) {
                    MessageBoxW(dialog, u"A Stock symbol must be entered", u"Validation Error",
                                MB_OK);
                    seen.push_back("refused");
                    return TRUE;
                }
                EndDialog(dialog, 1);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 2);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

INT_PTR OptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == 1018 || LOWORD(wParam) == 1019)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 1) {  // Done
        EndDialog(dialog, 77);
        return TRUE;
    }
    return FALSE;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        instance_ = RegisterModule(&kResources);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"Owner";
        RegisterClassW(&wc);
        owner_ = CreateWindowExW(0, u"Owner", u"owner", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    }
    INT_PTR Run(UINT id, DLGPROC proc, LPARAM param = 0) {
        return DialogBoxParamW(instance_, MAKEINTRESOURCEW(id), owner_, proc, param);
    }

    HeadlessDevice device_{60, 24};
    HINSTANCE instance_ = nullptr;
    HWND owner_ = nullptr;
};

TEST_F(DialogTest, ValidatesWithAMessageBoxAndStaysOpen) {
    device_
        .Check([&] {
            EXPECT_FALSE(IsWindowEnabled(owner_));
            EXPECT_NE(device_.Row(0).find(u"Test"), std::u16string::npos);
            EXPECT_NE(device_.Text().find(u"Symbols:"), std::u16string::npos);
        })
        .Key(VK_RETURN)  // the default button, with nothing typed
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"A Stock symbol must be entered"), std::u16string::npos);
        })
        .Key(VK_RETURN)  // answers the box
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"Symbols:"), std::u16string::npos);
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), 10);
        })
        .Type(u"msft")
        .Key(VK_RETURN);
    EXPECT_EQ(Run(200, ValidatingProc, 42), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"init 42", "refused"}));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(GetForegroundWindow(), owner_);
}

TEST_F(DialogTest, EscapePressesCancelAndTabWalksTheTabStops) {
    int focused[3] = {};
    device_.Check([&] { focused[0] = GetDlgCtrlID(GetFocus()); })
        .Key(VK_TAB)
        .Check([&] { focused[1] = GetDlgCtrlID(GetFocus()); })
        .Key(VK_TAB, true)
        .Key(VK_TAB, true)
        .Check([&] { focused[2] = GetDlgCtrlID(GetFocus()); })
        .Key(VK_ESCAPE);
    EXPECT_EQ(Run(200, ValidatingProc), 2);
    EXPECT_EQ(focused[0], 10);  // the first tab stop
    EXPECT_EQ(focused[1], 11);
    EXPECT_EQ(focused[2], IDCANCEL);  // backwards, wrapping round
}

TEST_F(DialogTest, EscapeFindsTheCancelCaptionAndEnterTheDefault) {
    device_.Key(VK_ESCAPE);
    EXPECT_EQ(Run(201, OptionsProc), 1019);
    device_.Key(VK_RETURN);
    EXPECT_EQ(Run(201, OptionsProc), 1018);
    device_.Key('C', false, false, true);  // Alt with the mnemonic
    EXPECT_EQ(Run(201, OptionsProc), 1019);
}

TEST_F(DialogTest, FullScreenDialogShowsItsTitleAndADoneButton) {
    DLGPROC proc = [](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dialog,
                               SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
            SHInitDialog(&info);
            return TRUE;
        }
        return OptionsProc(dialog, message, wParam, lParam);
    };
    device_
        .Check([&] {
            RECT r{};
            GetWindowRect(GetForegroundWindow(), &r);
            EXPECT_EQ(r.top, 26);
            EXPECT_EQ(r.bottom, 24 * 13);
            EXPECT_NE(device_.Row(0).find(u"Options"), std::u16string::npos);
            EXPECT_NE(device_.Row(0).find(u"[ok]"), std::u16string::npos);
        })
        .TapText(u"[ok]");
    EXPECT_EQ(Run(201, proc), 77);
}

TEST_F(DialogTest, TimersReachTheOwnerWhileADialogIsUp) {
    static int ticks = 0;
    ticks = 0;
    SetTimer(owner_, 1324, 1000, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    device_.Advance(1000).Check([] { EXPECT_EQ(ticks, 1); }).Key(VK_ESCAPE);
    EXPECT_EQ(Run(201, OptionsProc), 1019);
    EXPECT_EQ(ticks, 1);
}

TEST_F(DialogTest, MissingTemplatesAndStaleHandles) {
    EXPECT_EQ(Run(999, OptionsProc), -1);
    EXPECT_FALSE(EndDialog(owner_, 1));
    EXPECT_EQ(GetDlgItemTextW(owner_, 5, nullptr, 0), 0u);
    char16_t text[4] = {u'x', 0};
    EXPECT_EQ(GetDlgItemTextW(nullptr, 5, text, 4), 0u);
    EXPECT_EQ(text[0], 0);
}

}  // namespace
