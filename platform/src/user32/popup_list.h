// The list that popup menus and a combo box's open list share: a column of items in a window
// of its own over everything else, one highlighted; Up, Down, PgUp, PgDn, Home and End move
// the highlight (past separators), the list scrolls to keep it in view and with the wheel;
// Enter, Space or a tap choose; Esc or a tap outside close it; a typed letter jumps (to the
// next item starting with it, or, in a menu, chooses the item of that mnemonic).
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace platform::detail {

struct PopupListItem {
    std::u16string text;  // with "&" before a mnemonic, in a menu
    bool separator = false;
    bool submenu = false;  // drawn with an arrow
};

struct PopupListStyle {
    bool menu = false;        // framed, "&" mnemonics, Up and Down wrap round
    bool leftCloses = false;  // a submenu: Left goes back
    bool tabCloses = false;
};

// Shows the list at `rect` (screen pixels; a menu's frame included) for `owner` and runs it
// modally; returns the index chosen, or -1.
int RunPopupList(HWND owner, const RECT& rect, const std::vector<PopupListItem>& items,
                 int highlighted, const PopupListStyle& style);

// The rows a popup list of `items` takes, a menu's frame included.
int PopupListRows(int items, const PopupListStyle& style);

}  // namespace platform::detail
