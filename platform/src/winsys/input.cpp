#include "winsys/input.h"

#include "winsys/window_system.h"

namespace platform::detail {
namespace {

bool Contains(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

LPARAM KeyParam(const InputEvent& e) {
    LPARAM p = e.ch;
    if (e.shift) p |= KF_SHIFT_STATE;
    if (e.ctrl) p |= KF_CONTROL_STATE;
    if (e.alt) p |= KF_ALT_STATE;
    return p;
}

// The top-level window under a point, topmost ones first.
HWND TopLevelAt(int x, int y) {
    const auto& z = Windows().topLevels;
    for (bool topmost : {true, false}) {
        for (auto it = z.rbegin(); it != z.rend(); ++it) {
            const WindowData* data = FindWindowData(*it);
            if (data && data->topmost == topmost && IsVisible(*it) &&
                Contains(ScreenRect(*it), x, y))
                return *it;
        }
    }
    return nullptr;
}

bool EnabledAll(HWND window) {
    for (HWND w = window; w; w = ParentOrOwner(w)) {
        if (!IsEnabled(w)) return false;
        if (!FindWindowData(w)->parent) break;
    }
    return true;
}

LPARAM ClientPoint(HWND window, int x, int y) {
    const RECT r = ScreenRect(window);
    return static_cast<LPARAM>(
        MAKELONG(static_cast<WORD>(x - r.left), static_cast<WORD>(y - r.top)));
}

HWND InnermostModal() {
    const auto& stack = Windows().modalStack;
    return stack.empty() ? nullptr : stack.back();
}

void DeliverTap(int x, int y) {
    auto& ws = Windows();
    ws.cursor = {x, y};
    ws.cursorKnown = true;
    const HWND top = TopLevelAt(x, y);
    const HWND modal = InnermostModal();
    const bool topmost = top && FindWindowData(top)->topmost;
    if (modal && !topmost && (!top || !IsWithin(top, modal))) {
        // A tap outside a modal window goes to it (a popup menu closes; a dialog ignores it).
        Post(modal, WM_LBUTTONDOWN, 0, ClientPoint(modal, x, y));
        return;
    }
    if (!top) return;
    const HWND target = ChildAt(top, x, y);
    if (!EnabledAll(target)) return;
    Post(target, WM_LBUTTONDOWN, 0, ClientPoint(target, x, y));
    Post(target, WM_LBUTTONUP, 0, ClientPoint(target, x, y));
}

void DeliverWheel(const InputEvent& e) {
    const HWND top = TopLevelAt(e.x, e.y);
    const HWND modal = InnermostModal();
    if (!top || (modal && !IsWithin(top, modal))) return;
    const HWND target = ChildAt(top, e.x, e.y);
    Post(target, WM_MOUSEWHEEL, MAKELONG(0, static_cast<WORD>(e.delta * 120)),
         MAKELONG(static_cast<WORD>(e.x), static_cast<WORD>(e.y)));
}

// F1 to F9 and Alt with a letter go to the foreground window's menu bar first.
bool OfferToMenuBar(const InputEvent& e) {
    const auto& ws = Windows();
    if (!ws.modalStack.empty()) return false;
    const WindowData* front = FindWindowData(ws.foreground);
    if (!front || !FindWindowData(front->menuBar)) return false;
    const bool functionKey = e.vk >= VK_F1 && e.vk <= VK_F1 + 8 && !e.ctrl && !e.alt;
    const bool altLetter = e.alt && !e.ctrl;
    if (!functionKey && !altLetter) return false;
    return Send(front->menuBar, kMenuBarKey, e.vk, KeyParam(e)) != 0;
}

// F10 presses the navigation bar's [ok] when it shows one.
bool OfferToNavigationBar(const InputEvent& e) {
    if (e.vk != VK_F10 || e.ctrl || e.alt || e.shift) return false;
    for (HWND top : Windows().topLevels) {
        const WindowData* data = FindWindowData(top);
        if (data && data->dock == Dock::top) return Send(top, kNavigationOkKey, 0, 0) != 0;
    }
    return false;
}

void DeliverKey(const InputEvent& e) {
    // The pointer is where the last tap was; after a key it is nowhere (a row opened with
    // Enter has no tap to open its menu at).
    Windows().cursorKnown = false;
    if (OfferToNavigationBar(e) || OfferToMenuBar(e)) return;
    if (const HWND target = KeyTarget()) Post(target, WM_KEYDOWN, e.vk, KeyParam(e));
}

}  // namespace

HWND ChildAt(HWND window, int x, int y) {
    WindowData* data = FindWindowData(window);
    for (auto it = data->children.rbegin(); it != data->children.rend(); ++it) {
        if (IsVisible(*it) && Contains(ScreenRect(*it), x, y)) return ChildAt(*it, x, y);
    }
    return window;
}

void DeliverInput(const InputEvent& e) {
    switch (e.kind) {
        case InputEvent::Kind::none: return;
        case InputEvent::Kind::quit: PostQuit(-1); return;
        case InputEvent::Kind::hibernate:
            for (HWND top : Windows().topLevels) Post(top, WM_HIBERNATE, 0, 0);
            return;
        case InputEvent::Kind::resize:
            ApplyDocking();
            RecentreModals();
            return;
        case InputEvent::Kind::tap: DeliverTap(e.x, e.y); return;
        case InputEvent::Kind::wheel: DeliverWheel(e); return;
        case InputEvent::Kind::key: DeliverKey(e); return;
    }
}

}  // namespace platform::detail
