// The window tree: destruction, visibility, enabling, placement, activation and focus.
#include <algorithm>

#include "platform/host/screen_layout.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

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

void ActivateTopmostVisible() {
    auto& ws = Windows();
    for (auto it = ws.topLevels.rbegin(); it != ws.topLevels.rend(); ++it) {
        const WindowData* data = FindWindowData(*it);
        if (IsVisible(*it) && data && !data->topmost) {
            Activate(*it);
            return;
        }
    }
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

HWND FirstFocusableChild(HWND window) {
    const WindowData* data = FindWindowData(window);
    if (!data) return nullptr;
    for (HWND child : data->children) {
        const WindowData* c = FindWindowData(child);
        if (c && !c->destroying && IsVisible(child) && IsEnabled(child)) return child;
    }
    return nullptr;
}

}  // namespace

RECT DockRect(Dock dock) {
    const int width = ScreenWidth();
    const int height = ScreenHeight();
    switch (dock) {
        case Dock::desktop: return DesktopRect();
        case Dock::fullScreen: return {0, kNavigationBarHeight, width, height};
        case Dock::top: return {0, 0, width, kNavigationBarHeight};
        case Dock::bottom: return {0, height - kMenuBarHeight, width, height};
        case Dock::none: break;
    }
    return {};
}

bool Destroy(HWND window) {
    WindowData* data = FindWindowData(window);
    if (!data || data->destroying) return false;
    data->destroying = true;
    auto& ws = Windows();
    // Owned windows and children go first, each with its own WM_DESTROY.
    for (HWND owned : std::vector<HWND>(ws.topLevels)) {
        WindowData* o = FindWindowData(owned);
        if (o && o->owner == window) Destroy(owned);
    }
    for (HWND c : std::vector<HWND>(data->children)) Destroy(c);
    Send(window, WM_DESTROY, 0, 0);
    data = FindWindowData(window);
    if (!data) return true;
    const bool wasForeground = ws.foreground == window;
    Unlink(*data);
    ws.windows.Remove(window);
    if (wasForeground) {
        ws.foreground = nullptr;
        ActivateTopmostVisible();
    }
    return true;
}

bool IsVisible(HWND window) {
    for (WindowData* d = FindWindowData(window); d; d = FindWindowData(d->parent)) {
        if (!(d->style & WS_VISIBLE)) return false;
        if (!d->parent) return true;
    }
    return false;
}

bool IsEnabled(HWND window) {
    const WindowData* data = FindWindowData(window);
    return data && !(data->style & WS_DISABLED);
}

bool Enable(HWND window, bool enable) {
    WindowData* data = FindWindowData(window);
    if (!data) return false;
    const bool wasDisabled = (data->style & WS_DISABLED) != 0;
    if (enable)
        data->style &= ~WS_DISABLED;
    else
        data->style |= WS_DISABLED;
    if (wasDisabled == enable) Send(window, WM_ENABLE, enable, 0);
    return wasDisabled;
}

bool Place(HWND window, const RECT& r) {
    WindowData* data = FindWindowData(window);
    if (!data) return false;
    const bool resized = (r.right - r.left) != (data->rect.right - data->rect.left) ||
                         (r.bottom - r.top) != (data->rect.bottom - data->rect.top);
    data->rect = r;
    data->needsPaint = true;
    if (resized) {
        const LONG width = r.right - r.left;
        const LONG height = r.bottom - r.top;
        Send(window, WM_SIZE, SIZE_RESTORED,
             MAKELONG(static_cast<WORD>(width), static_cast<WORD>(height)));
    }
    return true;
}

void ApplyDocking(bool barsOnly) {
    for (HWND top : std::vector<HWND>(Windows().topLevels)) {
        const WindowData* data = FindWindowData(top);
        if (!data || data->dock == Dock::none) continue;
        if (barsOnly && data->dock != Dock::top && data->dock != Dock::bottom) continue;
        const RECT r = DockRect(data->dock);
        if (!SameRect(r, data->rect)) Place(top, r);
    }
}

void RecentreModals() {
    const RECT desktop = DesktopRect();
    for (HWND window : std::vector<HWND>(Windows().modalStack)) {
        const WindowData* data = FindWindowData(window);
        if (!data || data->popup || data->dock != Dock::none || data->parent) continue;
        const LONG width = data->rect.right - data->rect.left;
        const LONG height = data->rect.bottom - data->rect.top;
        // Centred in whole cells; one taller than the desktop starts at its top, its lower
        // part clipped (Enter and Esc still reach its default and cancel buttons).
        const LONG left = std::max<LONG>(0, (desktop.right - width) / 2 / kCellWidth * kCellWidth);
        const LONG top = desktop.top + std::max<LONG>(0, (desktop.bottom - desktop.top - height) /
                                                             2 / kCellHeight * kCellHeight);
        Place(window, {left, top, left + width, top + height});
        KeepFocusInView(window);
    }
}

namespace {

// How far (in whole cells of `cell`) to move a span [from, to) so that it lies within
// [low, high), its start first when it cannot all.
LONG ShiftInto(LONG from, LONG to, LONG low, LONG high, int cell) {
    LONG shift = 0;
    if (to > high) shift = -((to - high + cell - 1) / cell * cell);
    if (from + shift < low) shift = (low - from + cell - 1) / cell * cell;
    return shift;
}

}  // namespace

void KeepFocusInView(HWND modal) {
    WindowData* data = FindWindowData(modal);
    HWND focus = Windows().focus;
    if (!data || !focus || focus == modal) return;
    for (HWND w = focus; w != modal; w = FindWindowData(w) ? FindWindowData(w)->parent : nullptr) {
        if (!w) return;  // the focus is elsewhere
    }
    const RECT desktop = DesktopRect();
    const RECT control = ScreenRect(focus);
    const LONG dx = ShiftInto(control.left, control.right, desktop.left, desktop.right, kCellWidth);
    const LONG dy =
        ShiftInto(control.top, control.bottom, desktop.top, desktop.bottom, kCellHeight);
    if (dx == 0 && dy == 0) return;
    const RECT& r = data->rect;
    Place(modal, {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
}

void Activate(HWND window) {
    WindowSystem& ws = Windows();
    const HWND previous = ws.foreground;
    if (previous == window) return;
    ws.foreground = window;
    if (WindowData* data = FindWindowData(window)) {
        // The window comes to the top, its owned windows above it.
        auto& z = ws.topLevels;
        z.erase(std::remove(z.begin(), z.end(), window), z.end());
        z.push_back(window);
        for (HWND owned : std::vector<HWND>(z)) {
            WindowData* o = FindWindowData(owned);
            if (o && o->owner == window) {
                z.erase(std::remove(z.begin(), z.end(), owned), z.end());
                z.push_back(owned);
            }
        }
        ws.focus = data->lastFocus && FindWindowData(data->lastFocus) ? data->lastFocus : window;
    }
    if (FindWindowData(previous)) Send(previous, WM_ACTIVATE, WA_INACTIVE, LPARAM(window));
    if (FindWindowData(window)) Send(window, WM_ACTIVATE, WA_ACTIVE, LPARAM(previous));
}

bool BringToFront(HWND window) {
    if (!FindWindowData(window)) return false;
    const HWND top = TopLevelOf(window);
    Activate(top);
    // A modal window of its own that is up (an open dialog) stays the one in front.
    const auto& modal = Windows().modalStack;
    if (!modal.empty() && IsWithin(modal.back(), top)) Activate(modal.back());
    return true;
}

HWND KeyTarget() {
    WindowSystem& ws = Windows();
    const HWND active = !ws.modalStack.empty() ? ws.modalStack.back() : ws.foreground;
    const bool focusInside =
        ws.focus && FindWindowData(ws.focus) && (!active || IsWithin(ws.focus, active));
    if (focusInside && ws.focus != active) return ws.focus;
    // Keys must reach a control: when the focus is on the window itself or nowhere in it (it
    // went with a destroyed child, as when a list is rebuilt), its first child takes it.
    if (const HWND child = FirstFocusableChild(active)) {
        MoveFocus(child);
        return child;
    }
    return focusInside ? ws.focus : active;
}

HWND MoveFocus(HWND window) {
    auto& ws = Windows();
    const HWND previous = ws.focus;
    if (!FindWindowData(window) || previous == window) return previous;
    ws.focus = window;
    if (WindowData* top = FindWindowData(TopLevelOf(window))) top->lastFocus = window;
    if (FindWindowData(previous)) Send(previous, WM_KILLFOCUS, WPARAM(window), 0);
    Send(window, WM_SETFOCUS, WPARAM(previous), 0);
    return previous;
}

}  // namespace platform::detail
