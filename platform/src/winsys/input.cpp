#include "winsys/input.h"

#include <map>

#include "platform/user32/menus.h"
#include "platform/user32/message_loop.h"
#include "platform/aygshell/shell.h"
#include "aygshell/shell_internal.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

std::map<HWND, HWND>& MenuBars() {
    static std::map<HWND, HWND> bars;
    return bars;
}

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

// The deepest visible child of `window` under a screen point.
HWND ChildAt(HWND window, int x, int y) {
    WindowData* data = FindWindowData(window);
    for (auto it = data->children.rbegin(); it != data->children.rend(); ++it) {
        if (IsWindowVisible(*it) && Contains(ScreenRect(*it), x, y)) return ChildAt(*it, x, y);
    }
    return window;
}

HWND TopLevelAt(int x, int y) {
    const auto& z = Windows().topLevels;
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        if (IsWindowVisible(*it) && Contains(ScreenRect(*it), x, y)) return *it;
    }
    return nullptr;
}

bool EnabledAll(HWND window) {
    for (HWND w = window; w; w = GetParent(w)) {
        if (!IsWindowEnabled(w)) return false;
        if (!FindWindowData(w)->parent) break;
    }
    return true;
}

LPARAM ClientPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ScreenToClient(window, &p);
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

void DeliverTap(int x, int y) {
    auto& ws = Windows();
    ws.cursor = {x, y};
    ws.cursorKnown = true;
    if (y < kNavigationBarHeight) {
        const HWND target = NavigationWindow();
        if (HasOkButton(target) && x >= OkButtonLeft()) PostMessageW(target, WM_COMMAND, 1, 0);
        return;
    }
    const HWND modal = ws.modalStack.empty() ? nullptr : ws.modalStack.back();
    HWND top = TopLevelAt(x, y);
    if (modal && (!top || !IsWithin(top, modal))) {
        // A tap outside a modal window goes to it (a popup menu closes; a dialog ignores it).
        PostMessageW(modal, WM_LBUTTONDOWN, 0, ClientPoint(modal, x, y));
        return;
    }
    if (!top) return;
    const HWND target = ChildAt(top, x, y);
    if (!EnabledAll(target)) return;
    PostMessageW(target, WM_LBUTTONDOWN, 0, ClientPoint(target, x, y));
    PostMessageW(target, WM_LBUTTONUP, 0, ClientPoint(target, x, y));
}

// F1, F2, F3 and Alt with a label's first letter press the foreground window's menu-bar
// buttons.
bool PressMenuBarKey(const InputEvent& e) {
    const auto& ws = Windows();
    if (!ws.modalStack.empty()) return false;
    const HWND bar = MenuBarOf(ws.foreground);
    if (!bar) return false;
    int button = -1;
    if (e.vk >= VK_F1 && e.vk <= VK_F1 + 8 && !e.ctrl && !e.alt) button = e.vk - VK_F1;
    if (e.alt && !e.ctrl) button = MenuBarButtonForLetter(bar, static_cast<char16_t>(e.vk));
    if (button < 0) return false;
    PostMessageW(bar, kMenuBarPress, static_cast<WPARAM>(button), 0);
    return true;
}

void DeliverResize() {
    auto& ws = Windows();
    for (HWND top : std::vector<HWND>(ws.topLevels)) {
        WindowData* data = FindWindowData(top);
        if (!data) continue;
        if (data->fillsDesktop) {
            const RECT d = DesktopRect();
            SetWindowPos(top, nullptr, d.left, d.top, d.right - d.left, d.bottom - d.top,
                         SWP_NOZORDER);
        }
    }
    RepositionMenuBars();
    RepositionFullScreenDialogs();
}

}  // namespace

HWND MenuBarOf(HWND window) {
    const auto it = MenuBars().find(window);
    return it != MenuBars().end() && IsWindow(it->second) ? it->second : nullptr;
}

void SetMenuBarOf(HWND window, HWND bar) {
    if (bar)
        MenuBars()[window] = bar;
    else
        MenuBars().erase(window);
}

void DeliverInput(const InputEvent& e) {
    auto& ws = Windows();
    switch (e.kind) {
        case InputEvent::Kind::none:
            return;
        case InputEvent::Kind::quit:
            PostQuitMessage(-1);
            return;
        case InputEvent::Kind::hibernate:
            for (HWND top : ws.topLevels) PostMessageW(top, WM_HIBERNATE, 0, 0);
            return;
        case InputEvent::Kind::resize:
            DeliverResize();
            return;
        case InputEvent::Kind::tap:
            DeliverTap(e.x, e.y);
            return;
        case InputEvent::Kind::wheel: {
            const HWND top = TopLevelAt(e.x, e.y);
            const HWND modal = ws.modalStack.empty() ? nullptr : ws.modalStack.back();
            if (!top || (modal && !IsWithin(top, modal))) return;
            const HWND target = ChildAt(top, e.x, e.y);
            PostMessageW(target, WM_MOUSEWHEEL, MAKELONG(0, static_cast<WORD>(e.delta * 120)),
                         MAKELONG(static_cast<WORD>(e.x), static_cast<WORD>(e.y)));
            return;
        }
        case InputEvent::Kind::key: {
            if (PressMenuBarKey(e)) return;
            const HWND target = KeyTarget();
            if (target) PostMessageW(target, WM_KEYDOWN, e.vk, KeyParam(e));
            return;
        }
    }
}

}  // namespace platform::detail
