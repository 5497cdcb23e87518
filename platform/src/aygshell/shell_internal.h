// What the shell's pieces share inside the platform: the menu bar, the navigation bar and
// full-screen dialogs.
#pragma once

#include <string>

#include "platform/user32/messages.h"
#include "platform/win_types.h"

namespace platform::detail {

// Posted to a menu bar to press button wParam.
inline constexpr const char16_t* kPopupMenuClass = u"#32768";
inline constexpr UINT kMenuBarPress = WM_USER + 0x700;

int MenuBarButtonForLetter(HWND bar, char16_t letter);
void RepositionMenuBars();
void RepositionFullScreenDialogs();

// The navigation bar: whether the window shows an ok (or Done) button there, and where the
// button begins (pixels).
bool HasOkButton(HWND window);
int OkButtonLeft();
// The window the navigation bar speaks for: the innermost modal dialog or box up, else the
// foreground window (popup menus do not count).
HWND NavigationWindow();
// The title the navigation bar shows for a window.
std::u16string NavigationTitle(HWND window);

}  // namespace platform::detail
