// The soft input panel, and the shell's activation and setting-change handlers that keep it
// in step. A terminal has a keyboard, so the panel is never up: its visible desktop is the
// screen under the navigation bar, and the preferences and handlers only check their window.
#include "platform/aygshell/shell.h"
#include "winsys/window_system.h"

BOOL SHSipInfo(UINT action, UINT, void* info, UINT) {
    if (action != SPI_GETSIPINFO || !info) return FALSE;
    auto* sip = static_cast<SIPINFO*>(info);
    if (sip->cbSize != sizeof(SIPINFO) && sip->cbSize != 48) return FALSE;
    sip->fdwFlags = 0;
    sip->rcVisibleDesktop = {0, kNavigationBarHeight, platform::detail::ScreenWidth(),
                             platform::detail::ScreenHeight()};
    sip->rcSipRect = {};
    return TRUE;
}

BOOL SHSipPreference(HWND window, SIPSTATE) {
    return IsWindow(window);
}

BOOL SHHandleWMActivate(HWND window, WPARAM, LPARAM, SHACTIVATEINFO* info, DWORD) {
    return IsWindow(window) && info ? TRUE : FALSE;
}

BOOL SHHandleWMSettingChange(HWND window, WPARAM, LPARAM, SHACTIVATEINFO* info) {
    return IsWindow(window) && info ? TRUE : FALSE;
}
