// Window rectangles and their moves (window.h).
#include <algorithm>

#include "platform/user32/menus.h"
#include "platform/user32/window.h"
#include "winsys/window_system.h"

using platform::detail::FindWindowData;

BOOL GetClientRect(HWND window, RECT* rect) {
    const auto* data = FindWindowData(window);
    if (!data || !rect) return FALSE;
    *rect = {0, 0, data->rect.right - data->rect.left, data->rect.bottom - data->rect.top};
    return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (!IsWindow(window) || !rect) return FALSE;
    *rect = platform::detail::ScreenRect(window);
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
    if (!IsWindow(window) || !point) return FALSE;
    const RECT r = platform::detail::ScreenRect(window);
    point->x += r.left;
    point->y += r.top;
    return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
    if (!IsWindow(window) || !point) return FALSE;
    const RECT r = platform::detail::ScreenRect(window);
    point->x -= r.left;
    point->y -= r.top;
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
    const auto* data = FindWindowData(window);
    if (!data) return FALSE;
    RECT r = data->rect;
    if (!(flags & SWP_NOMOVE)) r = {x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    return platform::detail::Place(window, r) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}

BOOL GetCursorPos(POINT* point) {
    const auto& ws = platform::detail::Windows();
    if (!point || !ws.cursorKnown) return FALSE;
    *point = ws.cursor;
    return TRUE;
}
