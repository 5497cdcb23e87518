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

// The boxes take what their settings hold: 48 characters, 4 digits.
constexpr int kServerLimit = static_cast<int>(kProxyHostWidth) - 1;
constexpr int kPortLimit = static_cast<int>(kProxyPortWidth) - 1;

char16_t LowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

// The proxy's text adds "HTTP://" itself: a host typed with a scheme in front loses it.
const char16_t* WithoutScheme(const char16_t* host) {
    for (const char16_t* scheme : {u"http://", u"https://"}) {
        std::size_t n = 0;
        while (scheme[n] && LowerAscii(host[n]) == scheme[n]) ++n;
        if (!scheme[n]) return host + n;
    }
    return host;
}

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

// A port is empty (80) or a number from 1 to 65535; a host carries no port of its own, which
// would make the proxy text "HTTP://host:" or "HTTP://host:99999:8080".
bool Accepts(HWND dialog) {
    char16_t server[kProxyHostWidth] = {};
    char16_t port[kProxyPortWidth] = {};
    GetDlgItemTextW(dialog, IDC_PROXY_SERVER, server, kProxyHostWidth);
    GetDlgItemTextW(dialog, IDC_PROXY_PORT, port, kProxyPortWidth);
    const char16_t* problem = nullptr;
    if (FindChar(WithoutScheme(server), u':')) {
        problem = u"Proxy server: the host alone; its port goes in the Port box";
    } else if (!IsEmptyText(port)) {
        unsigned value = 0;
        for (const char16_t* c = port; *c && value <= 65535; ++c) {
            value = *c >= u'0' && *c <= u'9' ? value * 10 + (*c - u'0') : 65536;
        }
        if (value < 1 || value > 65535) problem = u"Port: a number from 1 to 65535, or none for 80";
    }
    if (!problem) return true;
    MessageBoxW(dialog, problem, u"Validation Error", MB_OK);
    return false;
}

void Apply(HWND dialog) {
    char16_t server[kProxyHostWidth] = {};
    char16_t port[kProxyPortWidth] = {};
    GetDlgItemTextW(dialog, IDC_PROXY_SERVER, server, kProxyHostWidth);
    GetDlgItemTextW(dialog, IDC_PROXY_PORT, port, kProxyPortWidth);
    const char16_t* host = WithoutScheme(server);
    proxySettings.useProxy = false;
    Store(kProxySetting, host, u"Proxy server registry update failed");
    Store(kPortSetting, port, u"Port registry update failed");
    const bool use = platform::ButtonCtrl(GetDlgItem(dialog, IDC_USE_PROXY)).GetCheck();
    if (use) proxySettings.useProxy = true;
    Store(kUseProxySetting, use ? u"1" : u"0", u"UseProxy registry update failed");
    SetText(proxySettings.proxyHost, host);
    SetText(proxySettings.proxyPort, port);
}

}  // namespace

INT_PTR SetProxyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static constexpr OptionDialog kDialog = {Start, Apply, Accepts};
    return RunOptionDialog(kDialog, dialog, message, wParam, lParam);
}
