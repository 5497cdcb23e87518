// The window calls of window.h.
#include <algorithm>

#include "comctl32/controls_internal.h"
#include "host/device.h"
#include "winsys/instance_channel.h"
#include "platform/aygshell/shell.h"
#include "platform/user32/window.h"
#include "winsys/window_system.h"

using platform::detail::FindWindowData;
using platform::detail::WindowData;
using platform::detail::Windows;

namespace {

HBRUSH const kBrushes[] = {reinterpret_cast<HBRUSH>(0x101), reinterpret_cast<HBRUSH>(0x102),
                           reinterpret_cast<HBRUSH>(0x103), reinterpret_cast<HBRUSH>(0x104),
                           reinterpret_cast<HBRUSH>(0x105)};

void SendSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED,
                 MAKELONG(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
}

RECT PlaceTopLevel(int x, int y, int width, int height) {
    const RECT desktop = platform::detail::DesktopRect();
    if (x == CW_USEDEFAULT || width == CW_USEDEFAULT) return desktop;
    return {x, y, x + width, y + height};
}

void Unlink(WindowData& data) {
    auto& ws = Windows();
    if (WindowData* parent = FindWindowData(data.parent)) {
        auto& c = parent->children;
        c.erase(std::remove(c.begin(), c.end(), data.handle), c.end());
    }
    auto& z = ws.topLevels;
    z.erase(std::remove(z.begin(), z.end(), data.handle), z.end());
    auto& t = ws.timers;
    t.erase(std::remove_if(t.begin(), t.end(),
                           [&](const auto& timer) { return timer.window == data.handle; }),
            t.end());
    auto& m = ws.modalStack;
    m.erase(std::remove(m.begin(), m.end(), data.handle), m.end());
    if (ws.focus == data.handle) ws.focus = nullptr;
}

}  // namespace

HBRUSH GetStockObject(int object) {
    return object >= 0 && object < 5 ? kBrushes[object] : nullptr;
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
    auto& ws = Windows();
    const auto* cls = className ? platform::detail::FindClass(className) : nullptr;
    if (!cls && className) cls = platform::detail::BuiltinControlClass(className);
    const bool child = (style & WS_CHILD) != 0;
    if (!cls || (child && !IsWindow(parent))) return nullptr;
    auto data = std::make_unique<WindowData>();
    const HWND handle = reinterpret_cast<HWND>(ws.nextHandle++);
    data->handle = handle;
    data->cls = cls;
    data->proc = cls->proc;
    data->style = style;
    data->exStyle = exStyle;
    data->text = title ? title : u"";
    if (child) {
        data->parent = parent;
        data->id = static_cast<int>(reinterpret_cast<std::uintptr_t>(menuOrId));
        data->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
        FindWindowData(parent)->children.push_back(handle);
    } else {
        data->owner = IsWindow(parent) ? platform::detail::TopLevelOf(parent) : nullptr;
        data->rect = PlaceTopLevel(x, y, width, height);
        data->fillsDesktop = x == CW_USEDEFAULT || width == CW_USEDEFAULT;
        ws.topLevels.push_back(handle);
        platform::detail::StartInstanceChannel();
    }
    ws.windows[reinterpret_cast<std::uintptr_t>(handle)] = std::move(data);

    CREATESTRUCTW create{
        param, instance,  menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
        title, className, exStyle};
    if (SendMessageW(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!IsWindow(handle)) return nullptr;
    if (!child && (style & WS_VISIBLE)) platform::detail::Activate(handle);
    return handle;
}

BOOL DestroyWindow(HWND window) {
    WindowData* data = FindWindowData(window);
    if (!data || data->destroying) return FALSE;
    data->destroying = true;
    auto& ws = Windows();
    // Owned windows and children go first, each with its own WM_DESTROY.
    for (HWND owned : std::vector<HWND>(ws.topLevels)) {
        WindowData* o = FindWindowData(owned);
        if (o && o->owner == window) DestroyWindow(owned);
    }
    for (HWND c : std::vector<HWND>(data->children)) DestroyWindow(c);
    SendMessageW(window, WM_DESTROY, 0, 0);
    data = FindWindowData(window);
    if (!data) return TRUE;
    const bool wasForeground = ws.foreground == window;
    Unlink(*data);
    ws.windows.erase(reinterpret_cast<std::uintptr_t>(window));
    if (wasForeground) {
        ws.foreground = nullptr;
        for (auto it = ws.topLevels.rbegin(); it != ws.topLevels.rend(); ++it) {
            if (IsWindowVisible(*it)) {
                platform::detail::Activate(*it);
                break;
            }
        }
    }
    return TRUE;
}

// A window is one until its destruction has run, WM_DESTROY included.
BOOL IsWindow(HWND window) {
    return FindWindowData(window) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    for (WindowData* d = FindWindowData(window); d; d = FindWindowData(d->parent)) {
        if (!(d->style & WS_VISIBLE)) return FALSE;
        if (!d->parent) return TRUE;
    }
    return FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    const WindowData* data = FindWindowData(window);
    return data && !(data->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    WindowData* data = FindWindowData(window);
    if (!data) return FALSE;
    const BOOL wasDisabled = (data->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable)
        data->style &= ~WS_DISABLED;
    else
        data->style |= WS_DISABLED;
    if (wasDisabled == (enable ? TRUE : FALSE)) SendMessageW(window, WM_ENABLE, enable, 0);
    return wasDisabled;
}

HWND GetParent(HWND window) {
    const WindowData* data = FindWindowData(window);
    return data ? (data->parent ? data->parent : data->owner) : nullptr;
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

BOOL GetClientRect(HWND window, RECT* rect) {
    const WindowData* data = FindWindowData(window);
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
    WindowData* data = FindWindowData(window);
    if (!data) return FALSE;
    RECT r = data->rect;
    if (!(flags & SWP_NOMOVE)) {
        r = {x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    const bool resized = (r.right - r.left) != (data->rect.right - data->rect.left) ||
                         (r.bottom - r.top) != (data->rect.bottom - data->rect.top);
    data->rect = r;
    data->needsPaint = true;
    if (resized) SendSize(window);
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
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
    if (data->needsPaint) SendMessageW(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) {
    WindowData* data = FindWindowData(window);
    if (!data) return FALSE;
    data->needsPaint = true;
    return TRUE;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!IsWindow(window)) return FALSE;
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) ? TRUE
                                                                                            : FALSE;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int capacity) {
    if (!IsWindow(window) || !buffer || capacity <= 0) return 0;
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    if (!IsWindow(window)) return 0;
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

LONG_PTR GetWindowLongW(HWND window, int index) {
    const WindowData* data = FindWindowData(window);
    if (!data) return 0;
    switch (index) {
        case GWL_STYLE:
            return static_cast<LONG_PTR>(data->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(data->exStyle);
        case GWL_ID:
            return data->id;
        case GWL_USERDATA:
            return data->userData;
        case DWL_MSGRESULT:
            return data->messageResult;
        default:
            return 0;
    }
}

LONG_PTR SetWindowLongW(HWND window, int index, LONG_PTR value) {
    WindowData* data = FindWindowData(window);
    if (!data) return 0;
    const LONG_PTR old = GetWindowLongW(window, index);
    switch (index) {
        case GWL_STYLE:
            data->style = static_cast<DWORD>(value);
            break;
        case GWL_EXSTYLE:
            data->exStyle = static_cast<DWORD>(value);
            break;
        case GWL_ID:
            data->id = static_cast<int>(value);
            break;
        case GWL_USERDATA:
            data->userData = value;
            break;
        case DWL_MSGRESULT:
            data->messageResult = value;
            break;
        default:
            return 0;
    }
    return old;
}

HWND GetForegroundWindow() {
    return Windows().foreground;
}

HWND GetActiveWindow() {
    return Windows().foreground;
}

BOOL SetForegroundWindow(HWND window) {
    // The lowest bit asks for the owned windows too; they always come along here.
    const HWND plain =
        reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(window) & ~std::uintptr_t{1});
    if (platform::detail::IsRemoteWindow(plain)) return platform::detail::BringRemoteToFront(plain);
    if (!IsWindow(plain)) return FALSE;
    HWND top = platform::detail::TopLevelOf(plain);
    platform::detail::Activate(top);
    // A modal window of its own that is up (an open dialog) stays the one in front.
    const auto& modal = Windows().modalStack;
    if (!modal.empty() && platform::detail::IsWithin(modal.back(), top)) {
        platform::detail::Activate(modal.back());
    }
    return TRUE;
}

HWND SetFocus(HWND window) {
    auto& ws = Windows();
    const HWND previous = ws.focus;
    if (!IsWindow(window) || previous == window) return previous;
    ws.focus = window;
    if (WindowData* top = FindWindowData(platform::detail::TopLevelOf(window)))
        top->lastFocus = window;
    if (IsWindow(previous))
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    return Windows().focus;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR title) {
    for (HWND top : Windows().topLevels) {
        const WindowData* data = FindWindowData(top);
        if (!data || data->destroying) continue;
        if ((!className || data->cls->name == className) && (!title || data->text == title)) {
            return top;
        }
    }
    return platform::detail::FindRemoteWindow(className, title);
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
