// The menu bar at the bottom of the screen (SHCreateMenuBar): one button per entry of a
// menu-bar resource, each labelled with its key (F1, F2, ...). A plain button sends its
// command to the window; a drop-down button opens its popup of the bar's menu above itself.
// F1 to F9, Alt with a label's first letter, and a tap press a button. Not supported: button
// images, hiding or disabling buttons, a bar of another window than a top-level one.
#include <string_view>
#include <vector>

#include "host/ascii.h"
#include "platform/aygshell/shell.h"
#include "platform/user32/menus.h"
#include "platform/user32/message_box.h"
#include "platform/user32/message_loop.h"
#include "platform/user32/resources.h"
#include "winsys/draw.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

constexpr const char16_t* kMenuBarClass = u"menu_worker";
constexpr Cell kBarCell{u' ', Color::black, Color::gray};
// The key names: bright white on blue, as a label's key stands out in mc (bold black on grey
// would read as dark grey).
constexpr Cell kKeyCell{u' ', Color::white, Color::blue, true};
// Posted by the bar to itself: press button wParam. A key press is handled in turn, like any
// other input, not while the key is being routed.
constexpr UINT kMenuBarPress = WM_USER + 0x702;

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

// At the bar's right end, when its window has an [ok] in the navigation bar: the key that
// presses it, as htop and mc show theirs.
constexpr std::u16string_view kQuitKey = u"F10";
constexpr std::u16string_view kQuitText = u" F10 Quit ";
// While the program waits on the network, the bar says so in a word (the navigation bar's
// "busy" is easy to miss).
constexpr std::u16string_view kBusyText = u" Downloading\u2026 ";

bool OwnerHasOk(const MenuBarState& state) {
    const WindowData* owner = FindWindowData(state.owner);
    return owner && (owner->exStyle & WS_EX_CAPTIONOKBTN);
}

// How a button reads on the bar: whole, then, where the bar is too narrow for every button and
// F10 Quit, without the drop-down arrow, without the padding, and at last its key alone.
constexpr int kMostCompact = 3;

std::u16string ButtonText(const MenuBarButton& b, int compact) {
    switch (compact) {
        case 0: return u" " + b.key + u" " + b.label + (b.popup ? u" \u25B4 " : u" ");
        case 1: return u" " + b.key + u" " + b.label + u" ";
        case 2: return b.key + u" " + b.label;
        default: return u" " + b.key + u" ";
    }
}

int ButtonWidth(const MenuBarButton& b, int compact) {
    return static_cast<int>(ButtonText(b, compact).size()) + 1;  // and a separator
}

// The least compact form in which every button and the quit key fit `columns`.
int CompactLevel(const MenuBarState& state, int columns) {
    const int quit = OwnerHasOk(state) ? static_cast<int>(kQuitText.size()) : 0;
    for (int compact = 0; compact < kMostCompact; ++compact) {
        int width = quit;
        for (const MenuBarButton& b : state.buttons) width += ButtonWidth(b, compact);
        if (width <= columns) return compact;
    }
    return kMostCompact;
}

int BarColumns(HWND bar) {
    return ScreenRect(bar).right / kCellWidth;
}

int ButtonAt(const MenuBarState& state, int column, int compact) {
    int left = 0;
    for (std::size_t i = 0; i < state.buttons.size(); ++i) {
        const int width = ButtonWidth(state.buttons[i], compact);
        if (column >= left && column < left + width) return static_cast<int>(i);
        left += width;
    }
    return -1;
}

int ButtonLeft(const MenuBarState& state, int index, int compact) {
    int left = 0;
    for (int i = 0; i < index; ++i) left += ButtonWidth(state.buttons[i], compact);
    return left;
}

int ButtonForLetter(const MenuBarState& state, char16_t letter) {
    for (std::size_t i = 0; i < state.buttons.size(); ++i) {
        const auto& label = state.buttons[i].label;
        if (!label.empty() && AsciiUpper(label[0]) == AsciiUpper(letter))
            return static_cast<int>(i);
    }
    return -1;
}

LRESULT PressButton(HWND bar, int index) {
    MenuBarState* state = StateOf<MenuBarState>(bar);
    if (!state || index < 0 || index >= static_cast<int>(state->buttons.size())) return 0;
    const MenuBarButton& button = state->buttons[index];
    if (!button.popup) {
        SendMessageW(state->owner, WM_COMMAND, MAKELONG(static_cast<WORD>(button.command), 0),
                     reinterpret_cast<LPARAM>(bar));
        return 0;
    }
    // A drop-down opens its popup above the button.
    const RECT r = ScreenRect(bar);
    const int compact = CompactLevel(*state, BarColumns(bar));
    TrackPopupMenu(button.popup, TPM_BOTTOMALIGN,
                   r.left + ButtonLeft(*state, index, compact) * kCellWidth, r.top, 0, state->owner,
                   nullptr);
    return 0;
}

// Takes the key when it names a button.
LRESULT OnKey(HWND bar, WPARAM key, LPARAM flags) {
    const MenuBarState* state = StateOf<MenuBarState>(bar);
    if (!state) return 0;
    const bool alt = (flags & KF_ALT_STATE) != 0;
    const int index =
        alt ? ButtonForLetter(*state, static_cast<char16_t>(key)) : static_cast<int>(key) - VK_F1;
    if (index < 0 || index >= static_cast<int>(state->buttons.size())) return 0;
    PostMessageW(bar, kMenuBarPress, static_cast<WPARAM>(index), 0);
    return 1;
}

LRESULT OnTap(HWND bar, LPARAM point) {
    const MenuBarState* state = StateOf<MenuBarState>(bar);
    if (!state) return 0;
    const int column = PixelToColumn(static_cast<short>(LOWORD(point)));
    const int quitLeft = BarColumns(bar) - static_cast<int>(kQuitText.size());
    if (OwnerHasOk(*state) && column >= quitLeft) {
        PostMessageW(state->owner, WM_COMMAND, IDOK, 0);
        return 0;
    }
    PressButton(bar, ButtonAt(*state, column, CompactLevel(*state, BarColumns(bar))));
    return 0;
}

LRESULT OnDestroy(HWND bar) {
    const MenuBarState* state = StateOf<MenuBarState>(bar);
    WindowData* owner = state ? FindWindowData(state->owner) : nullptr;
    if (owner && owner->menuBar == bar) owner->menuBar = nullptr;
    return 0;
}

LRESULT MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kMenuBarKey: return OnKey(bar, wParam, lParam);
        case kMenuBarPress: return PressButton(bar, static_cast<int>(wParam));
        case WM_LBUTTONDOWN: return OnTap(bar, lParam);
        case WM_DESTROY: return OnDestroy(bar);
        default: return DefWindowProcW(bar, message, wParam, lParam);
    }
}

void DrawMenuBar(HWND bar, CellGrid& grid, const CellRect& bounds) {
    grid.Fill(bounds, kBarCell);
    const MenuBarState* state = StateOf<MenuBarState>(bar);
    if (!state) return;
    int column = bounds.left;
    const int compact = CompactLevel(*state, bounds.right - bounds.left);
    for (const MenuBarButton& button : state->buttons) {
        Cell key = kKeyCell;
        const std::u16string text = ButtonText(button, compact);
        grid.Text(column, bounds.top, text, kBarCell, bounds.right);
        grid.Text(column + (compact == 2 ? 0 : 1), bounds.top, button.key, key, bounds.right);
        column += static_cast<int>(text.size());
        Cell separator = kBarCell;
        separator.ch = u'\u2502';
        grid.Set(column++, bounds.top, separator);
    }
    int right = bounds.right;
    const int quitLeft = right - static_cast<int>(kQuitText.size());
    if (OwnerHasOk(*state) && quitLeft >= column) {
        const Cell key = kKeyCell;
        grid.Text(quitLeft, bounds.top, std::u16string(kQuitText), kBarCell, bounds.right);
        grid.Text(quitLeft + 1, bounds.top, std::u16string(kQuitKey), key, bounds.right);
        right = quitLeft;
    }
    const int busyLeft = right - static_cast<int>(kBusyText.size());
    if (Windows().busy && busyLeft >= column) {
        grid.Text(busyLeft, bounds.top, std::u16string(kBusyText), kKeyCell, right);
    }
}

std::unique_ptr<MenuBarState> LoadButtons(const SHMENUBARINFO& info,
                                          const MenuBarResource& resource) {
    auto state = std::make_unique<MenuBarState>();
    state->owner = info.hwndParent;
    state->menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(resource.menuId));
    int key = 1;
    for (const MenuBarButtonResource& b : resource.buttons) {
        char16_t label[64] = {};
        LoadStringW(info.hInstRes, b.labelString, label, 64);
        const HMENU popup = (b.style & TBSTYLE_DROPDOWN) && b.popupIndex >= 0
                                ? GetSubMenu(state->menu, b.popupIndex)
                                : nullptr;
        state->buttons.push_back(
            {label, u"F" + std::u16string(1, char16_t(u'0' + key++)), b.command, popup});
    }
    return state;
}

}  // namespace
}  // namespace platform::detail

using platform::detail::FindWindowData;

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    using namespace platform::detail;
    if (!info || !IsWindow(info->hwndParent)) return FALSE;
    const MenuBarResource* resource =
        platform::FindMenuBarResource(info->hInstRes, info->nToolBarId);
    if (!resource) return FALSE;
    RegisterBuiltinClass(kMenuBarClass, MenuBarProc, DrawMenuBar);
    // Created hidden and then shown by hand: the bar never takes the foreground.
    const HWND bar = CreateWindowExW(0, kMenuBarClass, u"", 0, 0, 0, 0, 0, info->hwndParent,
                                     nullptr, info->hInstRes, nullptr);
    if (!bar) return FALSE;
    WindowData* data = FindWindowData(bar);
    data->control = LoadButtons(*info, *resource);
    data->dock = Dock::bottom;
    data->style |= WS_VISIBLE;
    ApplyDocking(true);
    FindWindowData(info->hwndParent)->menuBar = bar;
    info->hwndMB = bar;
    return TRUE;
}

int CommandBar_Height(HWND commandBar) {
    return IsWindow(commandBar) ? kMenuBarHeight : 0;
}
