// What the platform's controls share: their registration, their state, and how they tell
// their parent of events.
#pragma once

#include <string>

#include "platform/comctl32/controls.h"
#include "winsys/window_system.h"

namespace platform::detail {

// Registers the controls' classes: "Button", "Edit", "Static", "ComboBox", "msctls_updown32"
// and "SysListView32" (class names compare in any case). The device does it at start-up.
void RegisterControlClasses();

void RegisterButtonClass();
void RegisterEditClass();
void RegisterStaticClass();
void RegisterComboBoxClass();
void RegisterUpDownClass();
void RegisterListViewClass();

// WM_COMMAND with the control's id and a notification code, to its parent.
void NotifyParent(HWND control, WORD code);
// The default handling of a control: DefWindowProc, but commands go on to the parent (so an
// accelerator that names a focused control still reaches the window behind it).
LRESULT ControlDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool HasFocus(HWND window);
// Where a control's text may be drawn. The terminal's letters are wider than the handheld's,
// so a one-line label that does not fit runs on to the right edge of its parent's client
// area, and several lines may use the row the control's bottom edge falls in.
CellRect TextClip(HWND control, const CellRect& bounds);
// A tap's point in a window's client area, as cells from its top-left.
void TapCell(LPARAM lParam, int& column, int& row);

// Posted by an edit box to the up-down it is the buddy of: wParam +1 or -1.
inline constexpr UINT kUpDownStep = WM_USER + 0x701;
// Tells an edit box which up-down control it is the buddy of.
void SetUpDownPartner(HWND edit, HWND upDown);

// The style cells of controls.
inline constexpr Cell kFieldCell{u' ', Color::black, Color::cyan};
inline constexpr Cell kFocusCell{u' ', Color::white, Color::blue, true};

}  // namespace platform::detail
