#include "shell/refresh_dialog.h"

#include "model/fixed_text.h"
#include "platform/aygshell/shell.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/message_loop.h"
#include "resources/dialog_templates.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/option_dialog.h"

namespace {

constexpr int kMinutesDigits = 3;
constexpr std::size_t kMessageWidth = 64;

void Start(HWND dialog) {
    platform::UpDownCtrl(GetDlgItem(dialog, IDC_REFRESH_SPIN)).SetRange32(0, kRefreshMinutesLimit);
    SHSipPreference(dialog, SIP_UP);
    platform::EditCtrl(GetDlgItem(dialog, IDC_REFRESH_MINUTES)).LimitText(kMinutesDigits);
}

// The leading digits of the box; none count as 0.
long Minutes(HWND dialog) {
    char16_t text[kMinutesDigits + 1] = {};
    GetDlgItemTextW(dialog, IDC_REFRESH_MINUTES, text, kMinutesDigits + 1);
    long minutes = 0;
    for (const char16_t* c = text; *c >= u'0' && *c <= u'9'; ++c)
        minutes = minutes * 10 + (*c - u'0');
    return minutes;
}

// "Stock quotes will refresh every %ld minutes".
void SayPeriod(HWND dialog, long minutes) {
    char16_t number[8] = {};
    int n = 0;
    char16_t digits[8];
    do {
        digits[n++] = static_cast<char16_t>(u'0' + minutes % 10);
        minutes /= 10;
    } while (minutes > 0 && n < 7);
    for (int i = 0; i < n; ++i) number[i] = digits[n - 1 - i];
    char16_t text[kMessageWidth];
    SetText(text, u"Stock quotes will refresh every ");
    AddText(text, number);
    AddText(text, u" minutes");
    MessageBoxW(dialog, text, u"Information", MB_OK);
}

void Apply(HWND dialog) {
    const long minutes = Minutes(dialog);
    if (minutes == 0) {
        MessageBoxW(dialog, u"Automatic refresh of stock quotes has been turned off",
                    u"Information", MB_OK);
        KillTimer(mainWindow, RefreshTimer::kId);
    } else {
        SayPeriod(dialog, minutes);
        // A running timer starts its period anew.
        SetTimer(mainWindow, RefreshTimer::kId, static_cast<UINT>(minutes) * kMillisecondsPerMinute,
                 nullptr);
    }
}

}  // namespace

INT_PTR InternetRefreshDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static constexpr OptionDialog kDialog = {Start, Apply};
    return RunOptionDialog(kDialog, dialog, message, wParam, lParam);
}
