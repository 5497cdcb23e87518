// Menus loaded from the program's menu resources, and popup menus.
#pragma once

#include "platform/user32/window.h"

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
// The popup at `position` of a menu, owned by that menu.
HMENU GetSubMenu(HMENU menu, int position);
BOOL DestroyMenu(HMENU menu);
int GetMenuItemCount(HMENU menu);

inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// Shows a popup menu at a screen point and runs it modally. The chosen command is posted
// to `owner` as WM_COMMAND after the call returns (with TPM_RETURNCMD it is returned
// instead); Esc or a tap outside chooses nothing.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect);

// Where the last tap was, on the screen; FALSE when a key came after it (or there was none).
BOOL GetCursorPos(POINT* point);
