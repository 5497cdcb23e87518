// The list view's state: report mode only. Columns keep the position they were inserted at
// (their sub-item index); header drag and drop changes only their visual order.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "comctl32/controls_internal.h"
#include "winsys/draw.h"

namespace platform::detail {

struct ListColumn {
    std::u16string title;
    int format = LVCFMT_LEFT;
    int sortMark = 0;  // HDF_SORTUP, HDF_SORTDOWN or 0
    int width = 0;     // pixels; 0 hides the column
    int subItem = 0;
};

struct ListItem {
    std::vector<std::u16string> texts;  // by sub-item index
    int image = -1;
    LPARAM param = 0;
    UINT state = 0;
};

struct ListState : ControlState {
    std::vector<ListColumn> columns;  // by position
    std::vector<int> order;           // positions, in visual order
    std::vector<ListItem> items;      // in display order
    HIMAGELIST smallImages = nullptr;
    bool sharedImages = false;
    DWORD extendedStyle = 0;
    int top = 0;            // first row shown
    int firstColumn = 0;    // first visual column shown
    bool inHeader = false;  // keys move among the headers
    int headerFocus = 0;    // visual index of the header keys work on
    ~ListState() override;
};

// Columns are drawn one cell narrower than their width, leaving a separator; a column that
// shows is at least as wide as its title.
inline int ColumnCells(const ListColumn& c) {
    if (c.width <= 0) return 0;
    return std::max(c.width / kCellWidth, static_cast<int>(c.title.size()) + 1);
}
// Whether the visual column `v` starting at `x` is drawn in a list `right` cells wide: the
// first always (cut if it must be), the others only whole, so that no part of a number reads
// as a value.
inline bool ColumnDrawn(int v, int x, int cells, int right) {
    return v == 0 || x + cells <= right;
}

// The visual columns in the order they are drawn: the first one stays in place (the row's
// name: which row the numbers belong to), then the others from firstColumn on.
std::vector<int> ShownOrder(const ListState& s);
// Whether columns lie beyond the left (scrolled past) of the shown ones, and beyond the right
// edge of a list `clientColumns` wide (cut, or not shown at all).
bool ColumnsHiddenLeft(const ListState& s);
bool ColumnsHiddenRight(const ListState& s, int clientColumns);

int FocusedItem(const ListState& s);
// Gives one item the focus and the selection (single selection), scrolled into view.
void FocusItem(HWND list, ListState& s, int item);
int RowsPerPage(HWND list);
void KeepInView(HWND list, ListState& s, int item);
// The position (sub-item index of its column) of the visual column drawn at a client column of
// a list `clientColumns` wide, or -1.
int ColumnAtCell(const ListState& s, int column, int clientColumns);
void NotifyList(HWND list, UINT code, int item, int subItem);

LRESULT ListMessage(HWND list, ListState& s, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListKey(HWND list, ListState& s, WPARAM key, LPARAM lParam);
LRESULT ListTap(HWND list, ListState& s, LPARAM lParam);
void DrawList(HWND list, CellGrid& grid, const CellRect& bounds);

}  // namespace platform::detail
