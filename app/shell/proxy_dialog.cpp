#include "shell/proxy_dialog.h"

#include "model/fixed_text.h"
#include "platform/aygshell/shell.h"
#include "platform/comctl32/control_wrappers.h"
#include "resources/dialog_templates.h"
#include "settings/proxy_settings.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "shell/option_dialog.h"

namespace {

constexpr int kServerLimit = 49;  // the box takes 49; 48 are read
constexpr int kPortLimit = 4;

// Stores one value; a failed write says so (owner the MainWindow) and the others still run.
void Store(const char16_t* name, const char16_t* text, const char16_t* failure) {
    if (!WriteSettingText(name, text)) MessageBoxW(mainWindow, failure, u"Information", MB_OK);
}

void Start(HWND dialog) {
    SHSipPreference(dialog, SIP_UP);
    platform::EditCtrl(GetDlgItem(dialog, IDC_PROXY_SERVER)).LimitText(kServerLimit);
    platform::EditCtrl(GetDlgItem(dialog, IDC_PROXY_PORT)).LimitText(kPortLimit);
    SetDlgItemTextW(dialog, IDC_PROXY_SERVER, proxySettings.proxyHost);
    SetDlgItemTextW(dialog, IDC_PROXY_PORT, proxySettings.proxyPort);
    platform::ButtonCtrl(GetDlgItem(dialog, IDC_USE_PROXY)).SetCheck(proxySettings.useProxy);
}

void Apply(HWND dialog) {
    char16_t server[kProxyHostWidth] = {};
    char16_t port[kProxyPortWidth] = {};
    GetDlgItemTextW(dialog, IDC_PROXY_SERVER, server, kProxyHostWidth);
    GetDlgItemTextW(dialog, IDC_PROXY_PORT, port, kProxyPortWidth);
    proxySettings.useProxy = false;
    Store(kProxySetting, server, u"Proxy server registry update failed");
    Store(kPortSetting, port, u"Port registry update failed");
    const bool use = platform::ButtonCtrl(GetDlgItem(dialog, IDC_USE_PROXY)).GetCheck();
    if (use) proxySettings.useProxy = true;
    Store(kUseProxySetting, use ? u"1" : u"0", u"UseProxy registry update failed");
    SetText(proxySettings.proxyHost, server);
    SetText(proxySettings.proxyPort, port);
}

}  // namespace

INT_PTR SetProxyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static constexpr OptionDialog kDialog = {Start, Apply};
    return RunOptionDialog(kDialog, dialog, message, wParam, lParam);
}
