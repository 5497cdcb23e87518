// What the platform's controls share: their registration, their state, and how they tell
// their parent of events.
#pragma once

#include <string>

#include "platform/comctl32/controls.h"
#include "winsys/window_system.h"

namespace platform::detail {

// The class of a built-in control ("Button", "Edit", "Static", "ComboBox",
// "msctls_updown32", "SysListView32", in any case), registered on first use; null for other
// names.
const WindowClassInfo* BuiltinControlClass(std::u16string_view name);

void RegisterButtonClass();
void RegisterEditClass();
void RegisterStaticClass();
void RegisterComboBoxClass();
void RegisterUpDownClass();
void RegisterListViewClass();
void RegisterDialogClass();

template <typename T>
T* StateOf(HWND window) {
    WindowData* data = FindWindowData(window);
    return data ? dynamic_cast<T*>(data->control.get()) : nullptr;
}

template <typename T>
T* CreateState(HWND window) {
    WindowData* data = FindWindowData(window);
    data->control = std::make_unique<T>();
    return static_cast<T*>(data->control.get());
}

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
inline constexpr Cell kFocusCell{u' ', Color::white, Color::blue};

}  // namespace platform::detail
