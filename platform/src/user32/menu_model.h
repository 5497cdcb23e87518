// Menus loaded from the program's menu resources: a tree of items, the root owning its
// popups. Every menu of the tree has a handle, so that GetSubMenu can hand one out.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace platform::detail {

struct Menu;

struct MenuItem {
    std::u16string text;  // empty: a separator
    UINT command = 0;
    std::unique_ptr<Menu> popup;
};

struct Menu {
    std::vector<MenuItem> items;
    HMENU handle = nullptr;
    bool root = false;
};

// The menu of a live handle, or null.
Menu* FindMenu(HMENU handle);

}  // namespace platform::detail
