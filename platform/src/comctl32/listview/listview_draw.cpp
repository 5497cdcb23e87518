// Drawing the list view: a header row with the titles aligned like their cells, then one
// row per item; the row image drawn in front of the first column's text in its colour.
#include <algorithm>

#include "comctl32/image_list.h"
#include "comctl32/listview/listview_state.h"

namespace platform::detail {
namespace {

// Black on grey stays black (bold black is dark grey on many terminals); white on blue is
// bold, which is bright white on 8-colour terminals.
constexpr Cell kHeaderCell{u' ', Color::black, Color::gray};
constexpr Cell kSelectedCell{u' ', Color::white, Color::blue, true};

// Text in a cell of `cells` columns (one kept free as a separator), aligned.
void DrawCellText(CellGrid& grid, int left, int row, int cells, std::u16string_view text,
                  int format, const Cell& style) {
    const int room = std::max(0, cells - 1);
    const int length = std::min<int>(static_cast<int>(text.size()), room);
    int start = left;
    if (format == LVCFMT_RIGHT) start = left + room - length;
    if (format == LVCFMT_CENTER) start = left + (room - length) / 2;
    grid.Text(start, row, text.substr(0, length), style, left + room);
}

// A column's title with its sort mark after it; the title gives way so that the mark shows.
std::u16string HeaderTitle(const ListColumn& c, int cells) {
    if (!c.sortMark) return c.title;
    const std::u16string mark = c.sortMark == HDF_SORTUP ? u"\u25B2" : u"\u25BC";
    const int room = std::max(0, cells - 1);
    const int keep = std::min<int>(static_cast<int>(c.title.size()), std::max(0, room - 1));
    return c.title.substr(0, keep) + mark;
}

void DrawHeader(const ListState& s, CellGrid& grid, const CellRect& b) {
    grid.Fill({b.left, b.top, b.right, b.top + 1}, kHeaderCell);
    int x = b.left;
    for (int v : ShownOrder(s)) {
        const ListColumn& c = s.columns[s.order[v]];
        const int cells = ColumnCells(c);
        if (cells == 0) continue;
        if (x >= b.right || !ColumnDrawn(v, x - b.left, cells, b.right - b.left)) break;
        const Cell style = s.inHeader && v == s.headerFocus ? kSelectedCell : kHeaderCell;
        if (style == kSelectedCell) grid.Fill({x, b.top, x + cells - 1, b.top + 1}, style);
        DrawCellText(grid, x, b.top, cells, HeaderTitle(c, cells), c.format, style);
        x += cells;
        if (v == 0 && ColumnsHiddenLeft(s)) {
            grid.Text(x - 1, b.top, u"\u25C2", kHeaderCell, x);  // more columns that way
        }
    }
    if (ColumnsHiddenRight(s, b.right - b.left)) {
        grid.Text(b.right - 1, b.top, u"\u25B8", kHeaderCell, b.right);
    }
}

void DrawRow(const ListState& s, const ListItem& item, CellGrid& grid, const CellRect& b, int row) {
    const bool selected = (item.state & LVIS_SELECTED) != 0;
    const Cell style = selected ? kSelectedCell : kPlain;
    if (selected && (s.extendedStyle & LVS_EX_FULLROWSELECT))
        grid.Fill({b.left, row, b.right, row + 1}, style);
    int x = b.left;
    for (int v : ShownOrder(s)) {
        if (x >= b.right) break;
        const ListColumn& c = s.columns[s.order[v]];
        const int cells = ColumnCells(c);
        if (cells == 0) continue;
        if (!ColumnDrawn(v, x - b.left, cells, b.right - b.left)) break;
        const std::u16string empty;
        const std::u16string& text =
            c.subItem < static_cast<int>(item.texts.size()) ? item.texts[c.subItem] : empty;
        int left = x;
        ImageLook image{};
        if (c.subItem == 0 && ImageOf(s.smallImages, item.image, image)) {
            // On the plain ground even on a selected row: blue on blue would hide the mark.
            grid.Text(left, row, std::u16string(1, image.glyph), {u' ', image.color, Color::white},
                      x + cells);
            left += 2;
        } else if (c.subItem == 0 && item.image == I_IMAGENONE &&
                   ImageOf(s.smallImages, 0, image)) {
            left += 2;  // no image of its own: the row's text stays in line with the others'
        }
        if (selected && !(s.extendedStyle & LVS_EX_FULLROWSELECT) && c.subItem == 0) {
            grid.Fill({left, row, x + cells - 1, row + 1}, style);
        }
        DrawCellText(grid, left, row, cells - (left - x), text, c.format,
                     selected && (c.subItem == 0 || (s.extendedStyle & LVS_EX_FULLROWSELECT))
                         ? style
                         : kPlain);
        x += cells;
    }
}

}  // namespace

void DrawList(HWND list, CellGrid& grid, const CellRect& b) {
    const ListState* s = StateOf<ListState>(list);
    grid.Fill(b, kPlain);
    if (!s || b.bottom <= b.top) return;
    DrawHeader(*s, grid, b);
    for (int row = b.top + 1; row < b.bottom; ++row) {
        const int index = s->top + row - b.top - 1;
        if (index >= static_cast<int>(s->items.size())) break;
        DrawRow(*s, s->items[index], grid, b, row);
    }
    // More rows below the last one shown: a mark says so, as the header's marks say it of
    // columns.
    const int shown = b.bottom - b.top - 1;
    if (shown > 0 && s->top + shown < static_cast<int>(s->items.size())) {
        grid.Text(b.right - 1, b.bottom - 1, u"\u25BE", kHeaderCell, b.right);
    }
}

}  // namespace platform::detail
