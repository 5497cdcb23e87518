#include <algorithm>

#include "comctl32/controls_internal.h"

#include "platform/comctl32/controls.h"

namespace platform::detail {
void RegisterControlClasses() {
    RegisterButtonClass();
    RegisterEditClass();
    RegisterStaticClass();
    RegisterComboBoxClass();
    RegisterUpDownClass();
    RegisterListViewClass();
}

void NotifyParent(HWND control, WORD code) {
    const HWND parent = GetParent(control);
    if (!parent) return;
    SendMessageW(parent, WM_COMMAND, MAKELONG(static_cast<WORD>(GetDlgCtrlID(control)), code),
                 reinterpret_cast<LPARAM>(control));
}

LRESULT ControlDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const HWND parent = GetParent(window);
        return parent ? SendMessageW(parent, message, wParam, lParam) : 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool HasFocus(HWND window) {
    return GetFocus() == window;
}

CellRect TextClip(HWND control, const CellRect& bounds) {
    CellRect clip = bounds;
    const HWND parent = GetParent(control);
    if (!IsWindow(parent) || !FindWindowData(control)->parent) return clip;
    const CellRect outer = ScreenCells(parent);
    const bool framed = FindWindowData(parent)->cls->name == u"#32770";
    if (bounds.bottom - bounds.top <= 1) {
        clip.right = std::max(bounds.right, outer.right - (framed ? 1 : 0));
    } else {
        const RECT r = ScreenRect(control);
        if (r.bottom % kCellHeight != 0) clip.bottom = bounds.bottom + 1;
    }
    return clip.Intersect(
        {outer.left, outer.top, outer.right - (framed ? 1 : 0), outer.bottom - (framed ? 1 : 0)});
}

void TapCell(LPARAM lParam, int& column, int& row) {
    column = PixelToColumn(static_cast<short>(LOWORD(lParam)));
    row = PixelToRow(static_cast<short>(HIWORD(lParam)));
}

}  // namespace platform::detail
