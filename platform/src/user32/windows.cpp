// Window classes, creation and destruction, visibility, enabling and painting (window.h).
#include <algorithm>

#include "host/device.h"
#include "platform/user32/window.h"
#include "winsys/instance_channel.h"
#include "winsys/window_system.h"

using platform::detail::FindWindowData;
using platform::detail::WindowData;
using platform::detail::Windows;

namespace {

RECT PlaceTopLevel(int x, int y, int width, int height) {
    if (x == CW_USEDEFAULT || width == CW_USEDEFAULT) return platform::detail::DesktopRect();
    return {x, y, x + width, y + height};
}

// Puts the window in the tree; false when it cannot be the program's window here.
bool Link(WindowData& data, HWND parent, HMENU menuOrId, int x, int y, int width, int height) {
    auto& ws = Windows();
    if (data.style & WS_CHILD) {
        data.parent = parent;
        data.id = static_cast<int>(reinterpret_cast<std::uintptr_t>(menuOrId));
        data.rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
        FindWindowData(parent)->children.push_back(data.handle);
        return true;
    }
    // The program's first window makes this viewer the one a second start finds; when another
    // viewer holds the device root already, there is to be no second.
    if (!data.cls->builtin && !platform::detail::ClaimDevice(data.cls->name, data.text))
        return false;
    data.owner = IsWindow(parent) ? platform::detail::TopLevelOf(parent) : nullptr;
    data.rect = PlaceTopLevel(x, y, width, height);
    if (x == CW_USEDEFAULT || width == CW_USEDEFAULT) data.dock = platform::detail::Dock::desktop;
    ws.topLevels.push_back(data.handle);
    return true;
}

}  // namespace

HBRUSH GetStockObject(int object) {
    return platform::detail::StockBrush(object);
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || !*wc->lpszClassName ||
        platform::detail::FindClass(wc->lpszClassName)) {
        return 0;
    }
    auto cls = std::make_unique<platform::detail::WindowClassInfo>();
    cls->name = wc->lpszClassName;
    cls->proc = wc->lpfnWndProc;
    cls->background = wc->hbrBackground;
    cls->icon = wc->hIcon;
    cls->style = wc->style;
    Windows().classes.push_back(std::move(cls));
    return static_cast<ATOM>(Windows().classes.size());
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     void* param) {
    const auto* cls = className ? platform::detail::FindClass(className) : nullptr;
    const bool child = (style & WS_CHILD) != 0;
    if (!cls || (child && !IsWindow(parent))) return nullptr;
    auto data = std::make_unique<WindowData>();
    data->cls = cls;
    data->proc = cls->proc;
    data->style = style;
    data->exStyle = exStyle;
    data->text = title ? title : u"";
    WindowData* raw = data.get();
    const HWND handle = Windows().windows.Add<HWND>(std::move(data));
    raw->handle = handle;
    if (!Link(*raw, parent, menuOrId, x, y, width, height)) {
        Windows().windows.Remove(handle);
        return nullptr;
    }

    CREATESTRUCTW create{
        param, instance,  menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
        title, className, exStyle};
    if (platform::detail::Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!IsWindow(handle)) return nullptr;
    if (!child && (style & WS_VISIBLE)) platform::detail::Activate(handle);
    return handle;
}

BOOL DestroyWindow(HWND window) {
    return platform::detail::Destroy(window) ? TRUE : FALSE;
}

// A window is one until its destruction has run, WM_DESTROY included.
BOOL IsWindow(HWND window) {
    return FindWindowData(window) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    return platform::detail::IsVisible(window) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    return platform::detail::IsEnabled(window) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    return platform::detail::Enable(window, enable != FALSE) ? TRUE : FALSE;
}

HWND GetParent(HWND window) {
    return platform::detail::ParentOrOwner(window);
}

HWND GetDlgItem(HWND parent, int id) {
    const WindowData* data = FindWindowData(parent);
    if (!data) return nullptr;
    for (HWND c : data->children) {
        const WindowData* child = FindWindowData(c);
        if (child && child->id == id && !child->destroying) return c;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    const WindowData* data = FindWindowData(window);
    return data ? data->id : 0;
}

BOOL ShowWindow(HWND window, int command) {
    WindowData* data = FindWindowData(window);
    if (!data) return FALSE;
    const BOOL wasVisible = (data->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        data->style &= ~WS_VISIBLE;
    } else {
        data->style |= WS_VISIBLE;
        if (!data->parent) platform::detail::Activate(window);
    }
    data->needsPaint = true;
    return wasVisible;
}

BOOL UpdateWindow(HWND window) {
    WindowData* data = FindWindowData(window);
    if (!data) return FALSE;
    if (data->needsPaint) platform::detail::Send(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    WindowData* data = FindWindowData(window);
    if (!data) return FALSE;
    data->needsPaint = true;
    return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    WindowData* data = FindWindowData(window);
    if (!data || !paint) return nullptr;
    data->needsPaint = false;
    *paint = {reinterpret_cast<HDC>(window), FALSE, {}};
    GetClientRect(window, &paint->rcPaint);
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
    return IsWindow(window);
}

BOOL MessageBeep(UINT) {
    if (auto* device = platform::detail::CurrentDevice()) device->Bell();
    return TRUE;
}
