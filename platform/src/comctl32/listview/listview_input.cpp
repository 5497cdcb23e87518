// The list view's taps and keys: rows take the focus and the selection and tell NM_CLICK;
// headers tell LVN_COLUMNCLICK with their position. Tab moves between the rows and the
// headers; among the headers Left and Right choose one, Enter taps it, Shift+Left and
// Shift+Right drag it.
#include <algorithm>

#include "comctl32/listview/listview_state.h"

namespace platform::detail {
namespace {

int VisibleColumnCount(const ListState& s) {
    return static_cast<int>(std::count_if(s.order.begin(), s.order.end(),
                                          [&](int p) { return ColumnCells(s.columns[p]) > 0; }));
}

// The next visual index from `from` in direction `step` whose column shows, or `from`.
int NextShown(const ListState& s, int from, int step) {
    for (int v = from + step; v >= 0 && v < static_cast<int>(s.order.size()); v += step) {
        if (ColumnCells(s.columns[s.order[v]]) > 0) return v;
    }
    return from;
}

int ClientColumns(HWND list) {
    RECT r{};
    GetClientRect(list, &r);
    return r.right / kCellWidth;
}

// The first column is always in view; another comes into view by scrolling the rest.
void KeepHeaderInView(HWND list, ListState& s) {
    if (s.headerFocus == 0) return;
    if (s.headerFocus < s.firstColumn) s.firstColumn = s.headerFocus;
    for (;;) {
        int x = ColumnCells(s.columns[s.order[0]]);
        for (int v = std::max(s.firstColumn, 1); v <= s.headerFocus; ++v)
            x += ColumnCells(s.columns[s.order[v]]);
        if (x <= ClientColumns(list) || std::max(s.firstColumn, 1) >= s.headerFocus) return;
        s.firstColumn = NextShown(s, std::max(s.firstColumn, 1), 1);
    }
}

void HeaderKey(HWND list, ListState& s, WPARAM key, bool shift) {
    if (s.order.empty()) return;
    const int step = key == VK_LEFT ? -1 : 1;
    switch (key) {
        case VK_LEFT:
        case VK_RIGHT: {
            const int next = NextShown(s, s.headerFocus, step);
            if (shift && (s.extendedStyle & LVS_EX_HEADERDRAGDROP) && next != s.headerFocus) {
                // The first column names the rows and stays first: nothing moves in front of
                // it, and it moves nowhere.
                if (s.headerFocus == 0 || next == 0) {
                    MessageBeep(0);
                    return;
                }
                std::swap(s.order[s.headerFocus], s.order[next]);
            }
            s.headerFocus = next;
            KeepHeaderInView(list, s);
            return;
        }
        case VK_RETURN: NotifyList(list, LVN_COLUMNCLICK, -1, s.order[s.headerFocus]); return;
        case VK_TAB:
        case VK_ESCAPE:
        case VK_DOWN: s.inHeader = false; return;
        default: return;
    }
}

// Scrolls the columns after the first, which stays in place.
void ScrollColumns(HWND, ListState& s, int step) {
    const int from = std::max(s.firstColumn, 1);
    const int next = NextShown(s, from, step);
    // Never scroll past the last column that shows.
    if (step > 0 && next == from) return;
    s.firstColumn = next;
}

void EnterHeader(HWND list, ListState& s) {
    if (VisibleColumnCount(s) == 0) return;
    s.inHeader = true;
    s.headerFocus = ColumnCells(s.columns[s.order[s.firstColumn]]) > 0
                        ? s.firstColumn
                        : NextShown(s, s.firstColumn, 1);
    KeepHeaderInView(list, s);
}

}  // namespace

int FocusedItem(const ListState& s) {
    for (std::size_t i = 0; i < s.items.size(); ++i) {
        if (s.items[i].state & LVIS_FOCUSED) return static_cast<int>(i);
    }
    return -1;
}

void FocusItem(HWND list, ListState& s, int item) {
    if (item < 0 || item >= static_cast<int>(s.items.size())) return;
    for (ListItem& i : s.items) i.state &= ~(LVIS_FOCUSED | LVIS_SELECTED);
    s.items[item].state |= LVIS_FOCUSED | LVIS_SELECTED;
    KeepInView(list, s, item);
}

int RowsPerPage(HWND list) {
    RECT r{};
    GetClientRect(list, &r);
    return std::max(0, r.bottom / kCellHeight - 1);  // less the header row
}

void KeepInView(HWND list, ListState& s, int item) {
    const int rows = std::max(1, RowsPerPage(list));
    if (item < s.top) s.top = item;
    if (item >= s.top + rows) s.top = item - rows + 1;
}

std::vector<int> ShownOrder(const ListState& s) {
    std::vector<int> shown;
    if (s.order.empty()) return shown;
    shown.push_back(0);
    for (int v = std::max(s.firstColumn, 1); v < static_cast<int>(s.order.size()); ++v) {
        shown.push_back(v);
    }
    return shown;
}

bool ColumnsHiddenLeft(const ListState& s) {
    for (int v = 1; v < s.firstColumn && v < static_cast<int>(s.order.size()); ++v) {
        if (ColumnCells(s.columns[s.order[v]]) > 0) return true;
    }
    return false;
}

bool ColumnsHiddenRight(const ListState& s, int clientColumns) {
    int x = 0;
    for (int v : ShownOrder(s)) {
        const int cells = ColumnCells(s.columns[s.order[v]]);
        if (cells == 0) continue;
        if (x + cells > clientColumns) return true;
        x += cells;
    }
    return false;
}

int ColumnAtCell(const ListState& s, int column, int clientColumns) {
    int x = 0;
    for (int v : ShownOrder(s)) {
        const int cells = ColumnCells(s.columns[s.order[v]]);
        if (cells > 0 && !ColumnDrawn(v, x, cells, clientColumns)) return -1;
        if (cells > 0 && column >= x && column < x + cells) return s.order[v];
        x += cells;
    }
    return -1;
}

void NotifyList(HWND list, UINT code, int item, int subItem) {
    const HWND parent = GetParent(list);
    if (!parent) return;
    NMLISTVIEW nm{};
    nm.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), code};
    nm.iItem = item;
    nm.iSubItem = subItem;
    SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID(list)),
                 reinterpret_cast<LPARAM>(&nm));
}

LRESULT ListKey(HWND list, ListState& s, WPARAM key, LPARAM lParam) {
    const bool shift = (lParam & KF_SHIFT_STATE) != 0;
    if (s.inHeader) {
        HeaderKey(list, s, key, shift);
        return 0;
    }
    const int count = static_cast<int>(s.items.size());
    const int focused = FocusedItem(s);
    const int page = std::max(1, RowsPerPage(list));
    switch (key) {
        case VK_UP: FocusItem(list, s, std::max(0, focused - 1)); return 0;
        case VK_DOWN: FocusItem(list, s, std::min(count - 1, focused + 1)); return 0;
        case VK_PRIOR: FocusItem(list, s, std::max(0, focused - page)); return 0;
        case VK_NEXT:
            FocusItem(list, s, std::min(count - 1, std::max(0, focused) + page));
            return 0;
        case VK_HOME: FocusItem(list, s, 0); return 0;
        case VK_END: FocusItem(list, s, count - 1); return 0;
        case VK_LEFT: ScrollColumns(list, s, -1); return 0;
        case VK_RIGHT: ScrollColumns(list, s, 1); return 0;
        case VK_RETURN: NotifyList(list, NM_CLICK, focused, 0); return 0;
        case VK_TAB: EnterHeader(list, s); return 0;
        default: return 0;
    }
}

LRESULT ListTap(HWND list, ListState& s, LPARAM lParam) {
    SetFocus(list);
    int column = 0, row = 0;
    TapCell(lParam, column, row);
    if (row == 0) {
        // The marks of more columns scroll them, as Left and Right do.
        if (!s.order.empty() && ColumnsHiddenLeft(s) &&
            column == ColumnCells(s.columns[s.order[0]]) - 1) {
            ScrollColumns(list, s, -1);
            return 0;
        }
        if (ColumnsHiddenRight(s, ClientColumns(list)) && column == ClientColumns(list) - 1) {
            ScrollColumns(list, s, 1);
            return 0;
        }
        const int position = ColumnAtCell(s, column, ClientColumns(list));
        if (position >= 0) NotifyList(list, LVN_COLUMNCLICK, -1, position);
        return 0;
    }
    s.inHeader = false;
    const int item = s.top + row - 1;
    if (item < static_cast<int>(s.items.size())) {
        FocusItem(list, s, item);
        NotifyList(list, NM_CLICK, item, 0);
    } else {
        NotifyList(list, NM_CLICK, -1, 0);  // below the last row: the focus stays
    }
    return 0;
}

}  // namespace platform::detail
