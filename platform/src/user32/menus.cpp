// Menus and popup menus of menus.h.
#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "winsys/draw.h"
#include "platform/user32/menus.h"
#include "platform/user32/resources.h"
#include "aygshell/shell_internal.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

struct Menu;
struct MenuItem {
    std::u16string text;  // empty: a separator
    UINT command = 0;
    std::unique_ptr<Menu> popup;
};
struct Menu {
    std::vector<MenuItem> items;
    bool root = false;
};

std::set<Menu*>& LiveMenus() {
    static std::set<Menu*> menus;
    return menus;
}

Menu* AsMenu(HMENU handle) {
    Menu* menu = reinterpret_cast<Menu*>(handle);
    return LiveMenus().count(menu) ? menu : nullptr;
}

std::unique_ptr<Menu> BuildMenu(std::span<const MenuItemResource> items) {
    auto menu = std::make_unique<Menu>();
    LiveMenus().insert(menu.get());
    for (const MenuItemResource& r : items) {
        MenuItem item;
        item.text = r.text ? r.text : u"";
        item.command = r.command;
        if (!r.popup.empty()) item.popup = BuildMenu(r.popup);
        menu->items.push_back(std::move(item));
    }
    return menu;
}

void Forget(Menu* menu) {
    LiveMenus().erase(menu);
    for (MenuItem& item : menu->items) {
        if (item.popup) Forget(item.popup.get());
    }
}

// A popup menu on the screen.
struct PopupState : ControlState {
    Menu* menu = nullptr;
    int selected = -1;
    bool done = false;
    int chosen = -1;  // item index
};

PopupState* Popup(HWND window) {
    WindowData* data = FindWindowData(window);
    return data ? static_cast<PopupState*>(data->control.get()) : nullptr;
}

bool Selectable(const MenuItem& item) {
    return !item.text.empty();
}

void Move(PopupState& s, int step) {
    const int count = static_cast<int>(s.menu->items.size());
    for (int i = 1; i <= count; ++i) {
        const int next = ((s.selected + step * i) % count + count) % count;
        if (Selectable(s.menu->items[next])) {
            s.selected = next;
            return;
        }
    }
}

void Choose(PopupState& s, int index) {
    s.chosen = index;
    s.done = true;
}

void PopupKey(PopupState& s, WORD vk, char16_t ch) {
    switch (vk) {
        case VK_UP:
            Move(s, -1);
            return;
        case VK_DOWN:
            Move(s, 1);
            return;
        case VK_HOME:
            s.selected = -1;
            Move(s, 1);
            return;
        case VK_END:
            s.selected = 0;
            Move(s, -1);
            return;
        case VK_RETURN:
        case VK_SPACE:
            if (s.selected >= 0) Choose(s, s.selected);
            return;
        case VK_ESCAPE:
        case VK_LEFT:
            s.done = true;
            return;
        default:
            break;
    }
    const auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; };
    if (!ch) return;
    for (std::size_t i = 0; i < s.menu->items.size(); ++i) {
        char16_t mnemonic = 0;
        StripMnemonic(s.menu->items[i].text, &mnemonic);
        if (mnemonic && upper(mnemonic) == upper(ch)) {
            Choose(s, static_cast<int>(i));
            return;
        }
    }
}

LRESULT PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PopupState* s = Popup(window);
    if (!s) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_KEYDOWN:
            PopupKey(*s, static_cast<WORD>(wParam), static_cast<char16_t>(lParam & 0xFFFF));
            return 0;
        case WM_LBUTTONDOWN: {
            RECT client{};
            GetClientRect(window, &client);
            const int x = static_cast<short>(LOWORD(lParam));
            const int y = static_cast<short>(HIWORD(lParam));
            const int row = PixelToRow(y) - 1;
            if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) {
                s->done = true;  // a tap outside chooses nothing
            } else if (row >= 0 && row < static_cast<int>(s->menu->items.size()) &&
                       Selectable(s->menu->items[row])) {
                Choose(*s, row);
            }
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void DrawPopup(HWND window, CellGrid& grid, const CellRect& b) {
    const PopupState* s = Popup(window);
    DrawFrame(grid, b, kPlain);
    if (!s) return;
    for (std::size_t i = 0; i < s->menu->items.size(); ++i) {
        const int row = b.top + 1 + static_cast<int>(i);
        const MenuItem& item = s->menu->items[i];
        if (!Selectable(item)) {
            Cell line = kPlain;
            line.ch = u'\u2500';
            for (int c = b.left + 1; c < b.right - 1; ++c) grid.Set(c, row, line);
            continue;
        }
        const Cell style = static_cast<int>(i) == s->selected ? kHighlight : kPlain;
        grid.Fill({b.left + 1, row, b.right - 1, row + 1}, style);
        const int end = DrawMnemonicText(grid, b.left + 2, row, item.text, style, b.right - 2);
        if (item.popup)
            grid.Text(std::max(end + 1, b.right - 3), row, u"\u25B8", style, b.right - 1);
    }
}

// The popup's rectangle: at the point, kept on the screen.
RECT PopupRect(const Menu& menu, UINT flags, int x, int y) {
    int widest = 4;
    for (const MenuItem& item : menu.items) {
        widest = std::max(widest, static_cast<int>(StripMnemonic(item.text).size()) + 3);
    }
    const int width = (widest + 2) * kCellWidth;
    const int height = (static_cast<int>(menu.items.size()) + 2) * kCellHeight;
    int left = std::min(x, ScreenWidth() - width);
    int top = (flags & TPM_BOTTOMALIGN) ? y - height : y;
    top = std::min(top, ScreenHeight() - height);
    left = std::max(left, 0);
    top = std::max(top, 0);
    return {left, top, left + width, top + height};
}

int RunPopup(Menu* menu, UINT flags, int x, int y, HWND owner);

// Opens an item's own popup beside the menu; returns the command chosen there, or 0.
int OpenSubmenu(Menu* sub, HWND parentPopup, int row, HWND owner) {
    const RECT r = ScreenRect(parentPopup);
    return RunPopup(sub, TPM_RETURNCMD, r.right, r.top + (row + 1) * kCellHeight, owner);
}

int RunPopup(Menu* menu, UINT flags, int x, int y, HWND owner) {
    RegisterBuiltinClass(kPopupMenuClass, PopupProc, DrawPopup);
    const RECT r = PopupRect(*menu, flags, x, y);
    const HWND popup = CreateWindowExW(0, kPopupMenuClass, u"", 0, r.left, r.top, r.right - r.left,
                                       r.bottom - r.top, owner, nullptr, nullptr, nullptr);
    if (!popup) return 0;
    auto state = std::make_unique<PopupState>();
    state->menu = menu;
    PopupState* s = state.get();
    FindWindowData(popup)->control = std::move(state);
    Move(*s, 1);
    const bool alive = RunPopupWindow(popup, [s] { return s->done; });
    int command = 0;
    if (alive && s->chosen >= 0) {
        const MenuItem& item = menu->items[s->chosen];
        command = item.popup ? OpenSubmenu(item.popup.get(), popup, s->chosen, owner)
                             : static_cast<int>(item.command);
    }
    DestroyWindow(popup);
    return command;
}

}  // namespace
}  // namespace platform::detail

using platform::detail::AsMenu;

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const UINT id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    const MenuResource* resource = platform::FindMenuResource(instance, id);
    if (!resource) return nullptr;
    auto menu = platform::detail::BuildMenu(resource->items);
    menu->root = true;
    return reinterpret_cast<HMENU>(menu.release());
}

HMENU GetSubMenu(HMENU handle, int position) {
    auto* menu = AsMenu(handle);
    if (!menu || position < 0 || position >= static_cast<int>(menu->items.size())) return nullptr;
    return reinterpret_cast<HMENU>(menu->items[position].popup.get());
}

int GetMenuItemCount(HMENU handle) {
    auto* menu = AsMenu(handle);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

BOOL DestroyMenu(HMENU handle) {
    auto* menu = AsMenu(handle);
    if (!menu || !menu->root) return FALSE;
    platform::detail::Forget(menu);
    delete menu;
    return TRUE;
}

BOOL TrackPopupMenu(HMENU handle, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    auto* menu = AsMenu(handle);
    if (!menu || !IsWindow(owner)) return FALSE;
    const int command = platform::detail::RunPopup(menu, flags, x, y, owner);
    if (flags & TPM_RETURNCMD) return command;
    // The choice reaches the owner after the call has returned.
    if (command) PostMessageW(owner, WM_COMMAND, MAKELONG(static_cast<WORD>(command), 0), 0);
    return TRUE;
}

BOOL GetCursorPos(POINT* point) {
    const auto& ws = platform::detail::Windows();
    if (!point || !ws.cursorKnown) return FALSE;
    *point = ws.cursor;
    return TRUE;
}
