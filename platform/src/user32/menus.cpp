// Menus of menus.h: loading, their popups, destroying.
#include "platform/user32/menus.h"

#include "host/handle_table.h"
#include "platform/user32/resources.h"
#include "user32/menu_model.h"

namespace platform::detail {
namespace {

// A handle names a menu of some tree; the root's entry owns the tree.
struct MenuEntry {
    Menu* menu = nullptr;
    std::unique_ptr<Menu> tree;
};

HandleTable<MenuEntry>& Menus() {
    static HandleTable<MenuEntry> menus(0x3000);
    return menus;
}

void GiveHandles(Menu& menu) {
    auto entry = std::make_unique<MenuEntry>();
    entry->menu = &menu;
    menu.handle = Menus().Add<HMENU>(std::move(entry));
    for (MenuItem& item : menu.items) {
        if (item.popup) GiveHandles(*item.popup);
    }
}

void ForgetHandles(Menu& menu) {
    for (MenuItem& item : menu.items) {
        if (item.popup) ForgetHandles(*item.popup);
    }
    Menus().Remove(menu.handle);
}

std::unique_ptr<Menu> BuildMenu(std::span<const MenuItemResource> items) {
    auto menu = std::make_unique<Menu>();
    for (const MenuItemResource& r : items) {
        MenuItem item;
        item.text = r.text ? r.text : u"";
        item.command = r.command;
        if (!r.popup.empty()) item.popup = BuildMenu(r.popup);
        menu->items.push_back(std::move(item));
    }
    return menu;
}

}  // namespace

Menu* FindMenu(HMENU handle) {
    const MenuEntry* entry = Menus().Find(handle);
    return entry ? entry->menu : nullptr;
}

}  // namespace platform::detail

using platform::detail::FindMenu;

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const UINT id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
    const MenuResource* resource = platform::FindMenuResource(instance, id);
    if (!resource) return nullptr;
    auto tree = platform::detail::BuildMenu(resource->items);
    tree->root = true;
    platform::detail::GiveHandles(*tree);
    const HMENU handle = tree->handle;
    platform::detail::Menus().Find(handle)->tree = std::move(tree);
    return handle;
}

HMENU GetSubMenu(HMENU handle, int position) {
    const auto* menu = FindMenu(handle);
    if (!menu || position < 0 || position >= static_cast<int>(menu->items.size())) return nullptr;
    const auto& popup = menu->items[position].popup;
    return popup ? popup->handle : nullptr;
}

int GetMenuItemCount(HMENU handle) {
    const auto* menu = FindMenu(handle);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

BOOL DestroyMenu(HMENU handle) {
    auto* menu = FindMenu(handle);
    if (!menu || !menu->root) return FALSE;
    // The root's entry owns the tree: take it before its handles go.
    std::unique_ptr<platform::detail::Menu> tree =
        std::move(platform::detail::Menus().Find(handle)->tree);
    platform::detail::ForgetHandles(*menu);
    return TRUE;
}
