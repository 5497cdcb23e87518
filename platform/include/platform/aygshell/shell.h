// The handheld shell: the menu bar at the bottom, the navigation bar at the top, the soft
// input panel, full-screen dialogs, and the common controls' command-bar height query.
#pragma once

#include "platform/host/screen_layout.h"
#include "platform/user32/window.h"

struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;  // out: the bar
};
// Creates the menu bar of a top-level window from a menu-bar resource.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// The navigation-bar title of a top-level window (shown while it is in front).
BOOL SHSetNavBarText(HWND window, LPCWSTR text);

struct SIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize;
    void* pvImData;
};
inline constexpr DWORD SIPF_ON = 0x1;
inline constexpr DWORD SIPF_DOCKED = 0x2;
inline constexpr UINT SPI_GETSIPINFO = 225;
// With SPI_GETSIPINFO fills a SIPINFO whose cbSize is set. The panel is never up here: the
// visible desktop is the screen under the navigation bar.
BOOL SHSipInfo(UINT action, UINT param, void* info, UINT winIni);

enum SIPSTATE {
    SIP_UP = 0,
    SIP_DOWN = 1,
    SIP_FORCEDOWN = 2,
    SIP_UNCHANGED = 3,
    SIP_INPUTDIALOG = 4
};
BOOL SHSipPreference(HWND window, SIPSTATE state);

struct SHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
};
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info,
                        DWORD flags);
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
inline constexpr DWORD SHIDIM_FLAGS = 0x0001;
inline constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
inline constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
inline constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
inline constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
// Full-screen dialogs: the dialog fills the screen under the navigation bar, which shows its
// title and a Done button that sends command 1.
BOOL SHInitDialog(SHINITDLGINFO* info);

// The height of a command bar; 0 when `commandBar` is not a window.
int CommandBar_Height(HWND commandBar);
