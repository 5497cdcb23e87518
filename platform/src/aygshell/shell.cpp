// The shell calls of shell.h: the menu bar, the navigation bar, the soft input panel,
// full-screen dialogs.
#include <algorithm>
#include <vector>

#include "winsys/draw.h"
#include "winsys/input.h"
#include "platform/user32/menus.h"
#include "platform/user32/resources.h"
#include "platform/aygshell/shell.h"
#include "aygshell/shell_internal.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

constexpr const char16_t* kMenuBarClass = u"menu_worker";
constexpr Cell kBarCell{u' ', Color::black, Color::gray};

struct MenuBarButton {
    std::u16string label;
    std::u16string key;  // "F1", "F2", ...
    UINT command;
    HMENU popup;  // drop-down buttons only
};

struct MenuBarState : ControlState {
    HWND owner = nullptr;
    HMENU menu = nullptr;
    std::vector<MenuBarButton> buttons;
    ~MenuBarState() override {
        if (menu) DestroyMenu(menu);
    }
};

MenuBarState* BarState(HWND bar) {
    WindowData* data = FindWindowData(bar);
    return data ? static_cast<MenuBarState*>(data->control.get()) : nullptr;
}

// The columns a button takes on the bar, from its left edge.
std::u16string ButtonText(const MenuBarButton& b) {
    return u" " + b.key + u" " + b.label + (b.popup ? u" \u25B4 " : u" ");
}

int ButtonAt(const MenuBarState& state, int column) {
    int left = 0;
    for (std::size_t i = 0; i < state.buttons.size(); ++i) {
        const int width = static_cast<int>(ButtonText(state.buttons[i]).size()) + 1;
        if (column >= left && column < left + width) return static_cast<int>(i);
        left += width;
    }
    return -1;
}

int ButtonLeft(const MenuBarState& state, int index) {
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += static_cast<int>(ButtonText(state.buttons[i]).size()) + 1;
    return left;
}

void PressButton(HWND bar, int index) {
    MenuBarState* state = BarState(bar);
    if (!state || index < 0 || index >= static_cast<int>(state->buttons.size())) return;
    const MenuBarButton& button = state->buttons[index];
    if (!button.popup) {
        SendMessageW(state->owner, WM_COMMAND, MAKELONG(static_cast<WORD>(button.command), 0),
                     reinterpret_cast<LPARAM>(bar));
        return;
    }
    // A drop-down opens its popup above the button.
    const RECT r = ScreenRect(bar);
    TrackPopupMenu(button.popup, TPM_BOTTOMALIGN, r.left + ButtonLeft(*state, index) * kCellWidth,
                   r.top, 0, state->owner, nullptr);
}

LRESULT MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kMenuBarPress:
            PressButton(bar, static_cast<int>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            if (MenuBarState* state = BarState(bar)) {
                PressButton(bar,
                            ButtonAt(*state, PixelToColumn(static_cast<short>(LOWORD(lParam)))));
            }
            return 0;
        case WM_DESTROY:
            if (MenuBarState* state = BarState(bar)) SetMenuBarOf(state->owner, nullptr);
            return 0;
        default:
            return DefWindowProcW(bar, message, wParam, lParam);
    }
}

void DrawMenuBar(HWND bar, CellGrid& grid, const CellRect& bounds) {
    grid.Fill(bounds, kBarCell);
    const MenuBarState* state = BarState(bar);
    if (!state) return;
    int column = bounds.left;
    for (const MenuBarButton& button : state->buttons) {
        Cell key = kBarCell;
        key.bold = true;
        const std::u16string text = ButtonText(button);
        grid.Text(column, bounds.top, text, kBarCell, bounds.right);
        grid.Text(column + 1, bounds.top, button.key, key, bounds.right);
        column += static_cast<int>(text.size());
        Cell separator = kBarCell;
        separator.ch = u'\u2502';
        grid.Set(column++, bounds.top, separator);
    }
}

RECT MenuBarRect() {
    return {0, ScreenHeight() - kMenuBarHeight, ScreenWidth(), ScreenHeight()};
}

}  // namespace

int MenuBarButtonForLetter(HWND bar, char16_t letter) {
    const MenuBarState* state = BarState(bar);
    if (!state) return -1;
    const auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; };
    for (std::size_t i = 0; i < state->buttons.size(); ++i) {
        const auto& label = state->buttons[i].label;
        if (!label.empty() && upper(label[0]) == upper(letter)) return static_cast<int>(i);
    }
    return -1;
}

void RepositionMenuBars() {
    for (HWND top : std::vector<HWND>(Windows().topLevels)) {
        WindowData* data = FindWindowData(top);
        if (data && data->cls->name == kMenuBarClass) data->rect = MenuBarRect();
    }
}

void RepositionFullScreenDialogs() {
    for (HWND top : std::vector<HWND>(Windows().topLevels)) {
        WindowData* data = FindWindowData(top);
        if (!data || !data->fullScreen) continue;
        SetWindowPos(top, nullptr, 0, kNavigationBarHeight, ScreenWidth(),
                     ScreenHeight() - kNavigationBarHeight, SWP_NOZORDER);
    }
}

HWND NavigationWindow() {
    const auto& ws = Windows();
    for (auto it = ws.modalStack.rbegin(); it != ws.modalStack.rend(); ++it) {
        const WindowData* data = FindWindowData(*it);
        if (data && data->cls->name != kPopupMenuClass) return *it;
    }
    return ws.foreground;
}

bool HasOkButton(HWND window) {
    const WindowData* data = FindWindowData(window);
    return data && ((data->exStyle & WS_EX_CAPTIONOKBTN) || data->doneButton);
}

int OkButtonLeft() {
    return ScreenWidth() - 5 * kCellWidth;
}

std::u16string NavigationTitle(HWND window) {
    const WindowData* data = FindWindowData(window);
    if (!data) return u"";
    return data->hasNavTitle ? data->navTitle : data->text;
}

}  // namespace platform::detail

using platform::detail::FindWindowData;

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    using namespace platform::detail;
    if (!info || !IsWindow(info->hwndParent)) return FALSE;
    const MenuBarResource* resource =
        platform::FindMenuBarResource(info->hInstRes, info->nToolBarId);
    if (!resource) return FALSE;
    RegisterBuiltinClass(kMenuBarClass, MenuBarProc, DrawMenuBar);
    const RECT r = MenuBarRect();
    // Created hidden and then shown by hand: the bar never takes the foreground.
    const HWND bar =
        CreateWindowExW(0, kMenuBarClass, u"", 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        info->hwndParent, nullptr, info->hInstRes, nullptr);
    if (!bar) return FALSE;
    auto state = std::make_unique<MenuBarState>();
    state->owner = info->hwndParent;
    state->menu = LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(resource->menuId));
    int key = 1;
    for (const MenuBarButtonResource& b : resource->buttons) {
        char16_t label[64] = {};
        LoadStringW(info->hInstRes, b.labelString, label, 64);
        const HMENU popup = (b.style & TBSTYLE_DROPDOWN) && b.popupIndex >= 0
                                ? GetSubMenu(state->menu, b.popupIndex)
                                : nullptr;
        state->buttons.push_back(
            {label, u"F" + std::u16string(1, char16_t(u'0' + key++)), b.command, popup});
    }
    WindowData* data = FindWindowData(bar);
    data->control = std::move(state);
    data->style |= WS_VISIBLE;
    SetMenuBarOf(info->hwndParent, bar);
    info->hwndMB = bar;
    return TRUE;
}

BOOL SHSetNavBarText(HWND window, LPCWSTR text) {
    auto* data = FindWindowData(window);
    if (!data) return FALSE;
    data->navTitle = text ? text : u"";
    data->hasNavTitle = true;
    return TRUE;
}

BOOL SHSipInfo(UINT action, UINT, void* info, UINT) {
    if (action != SPI_GETSIPINFO || !info) return FALSE;
    auto* sip = static_cast<SIPINFO*>(info);
    if (sip->cbSize != sizeof(SIPINFO) && sip->cbSize != 48) return FALSE;
    sip->fdwFlags = 0;
    sip->rcVisibleDesktop = {0, kNavigationBarHeight, platform::detail::ScreenWidth(),
                             platform::detail::ScreenHeight()};
    sip->rcSipRect = {};
    return TRUE;
}

BOOL SHSipPreference(HWND window, SIPSTATE) {
    return IsWindow(window);
}

BOOL SHHandleWMActivate(HWND window, WPARAM, LPARAM, SHACTIVATEINFO* info, DWORD) {
    return IsWindow(window) && info ? TRUE : FALSE;
}

BOOL SHHandleWMSettingChange(HWND window, WPARAM, LPARAM, SHACTIVATEINFO* info) {
    return IsWindow(window) && info ? TRUE : FALSE;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (!info) return FALSE;
    auto* data = FindWindowData(info->hDlg);
    if (!data) return FALSE;
    if (info->dwMask & SHIDIM_FLAGS) {
        data->doneButton = (info->dwFlags & SHIDIF_DONEBUTTON) != 0;
        if (info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)) {
            data->fullScreen = true;
            platform::detail::RepositionFullScreenDialogs();
        }
    }
    return TRUE;
}

int CommandBar_Height(HWND commandBar) {
    return IsWindow(commandBar) ? kMenuBarHeight : 0;
}
