// Popup menus (TrackPopupMenu): a menu's items in a popup list at a point, kept on the
// screen; an item with a popup of its own opens it beside its row.
#include <algorithm>

#include "platform/user32/menus.h"
#include "platform/user32/message_loop.h"
#include "user32/menu_model.h"
#include "user32/popup_list.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

std::vector<PopupListItem> ItemsOf(const Menu& menu) {
    std::vector<PopupListItem> items;
    for (const MenuItem& item : menu.items) {
        items.push_back({item.text, item.text.empty(), item.popup != nullptr});
    }
    return items;
}

// The popup's rectangle on the desktop (between the navigation and the menu bar): from the
// point the way the flags ask (up from a menu bar's button, else down), the other way when
// only that way it fits whole, else on the roomier side as tall as fits, where it scrolls.
RECT PopupRect(const Menu& menu, UINT flags, int x, int y) {
    int widest = 4;
    for (const MenuItem& item : menu.items) {
        widest = std::max(widest, static_cast<int>(StripMnemonic(item.text).size()) + 3);
    }
    const RECT desk = DesktopRect();
    const int width = std::min((widest + 2) * kCellWidth, ScreenWidth());
    const int wanted = PopupListRows(static_cast<int>(menu.items.size()), {true}) * kCellHeight;
    y = std::clamp(y, static_cast<int>(desk.top), static_cast<int>(desk.bottom));
    const int above = (y - desk.top) / kCellHeight * kCellHeight;
    const int below = (desk.bottom - y) / kCellHeight * kCellHeight;
    bool up = (flags & TPM_BOTTOMALIGN) != 0;
    if ((up ? above : below) < wanted && (up ? below : above) >= wanted) up = !up;
    if ((up ? above : below) < wanted && (up ? below : above) > (up ? above : below)) up = !up;
    const int height = std::max(3 * kCellHeight, std::min(wanted, up ? above : below));
    int top = up ? y - height : y;
    top = std::clamp(top, 0, std::max(0, ScreenHeight() - height));
    const int left = std::max(0, std::min(x, ScreenWidth() - width));
    return {left, top, left + width, top + height};
}

int RunMenu(const Menu& menu, UINT flags, int x, int y, HWND owner) {
    const RECT r = PopupRect(menu, flags, x, y);
    PopupListStyle style;
    style.menu = true;
    style.leftCloses = true;
    const int chosen = RunPopupList(owner, r, ItemsOf(menu), 0, style);
    if (chosen < 0) return 0;
    const MenuItem& item = menu.items[chosen];
    if (!item.popup) return static_cast<int>(item.command);
    return RunMenu(*item.popup, 0, r.right, r.top + (chosen + 1) * kCellHeight, owner);
}

}  // namespace
}  // namespace platform::detail

BOOL TrackPopupMenu(HMENU handle, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    const auto* menu = platform::detail::FindMenu(handle);
    if (!menu || !IsWindow(owner)) return FALSE;
    const int command = platform::detail::RunMenu(*menu, flags, x, y, owner);
    if (flags & TPM_RETURNCMD) return command;
    // The choice reaches the owner after the call has returned.
    if (command) PostMessageW(owner, WM_COMMAND, MAKELONG(static_cast<WORD>(command), 0), 0);
    return TRUE;
}
