// The screen as an in-memory grid of character cells. Both screens draw it: the terminal
// puts the cells that changed on the terminal, tests read it.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

// Colours of the device's screen.
enum class Color : BYTE { black, red, green, yellow, blue, magenta, cyan, white, gray };

namespace platform {

// A terminal cell is 6 x 13 pixels and 4 x 8 dialog units.
inline constexpr int kCellWidth = 6;
inline constexpr int kCellHeight = 13;
inline constexpr int kDialogUnitsPerCellX = 4;
inline constexpr int kDialogUnitsPerCellY = 8;

struct Cell {
    char16_t ch = u' ';
    Color fg = Color::black;
    Color bg = Color::white;
    bool bold = false;
    bool underline = false;
    bool operator==(const Cell&) const = default;
};

struct CellRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool Contains(int column, int row) const {
        return column >= left && column < right && row >= top && row < bottom;
    }
    CellRect Intersect(const CellRect& other) const;
    bool Empty() const { return right <= left || bottom <= top; }
};

class CellGrid {
public:
    CellGrid(int columns = 0, int rows = 0) { Resize(columns, rows); }

    void Resize(int columns, int rows);
    int columns() const { return columns_; }
    int rows() const { return rows_; }

    const Cell& At(int column, int row) const;
    // Writes outside the grid or the clip are dropped.
    void Set(int column, int row, const Cell& cell);
    void Fill(const CellRect& rect, const Cell& cell);
    // Writes text from (column, row) on one line, never past `limit` (exclusive), cells
    // styled like `style`; returns the column after the last character.
    int Text(int column, int row, std::u16string_view text, const Cell& style, int limit = 1 << 30);

    // Drawing is limited to this rectangle until it is reset.
    void SetClip(const CellRect& clip) { clip_ = clip; }
    void ResetClip() { clip_ = {0, 0, columns_, rows_}; }
    const CellRect& clip() const { return clip_; }

    std::u16string RowText(int row) const;
    // Every row, trailing spaces trimmed, joined by "\n".
    std::u16string AllText() const;
    bool operator==(const CellGrid& other) const {
        return columns_ == other.columns_ && rows_ == other.rows_ && cells_ == other.cells_;
    }

private:
    int columns_ = 0;
    int rows_ = 0;
    std::vector<Cell> cells_;
    CellRect clip_;
};

// Pixels to cells (rounded down) and dialog units to pixels.
inline int PixelToColumn(int x) {
    return x >= 0 ? x / kCellWidth : -((-x + kCellWidth - 1) / kCellWidth);
}
inline int PixelToRow(int y) {
    return y >= 0 ? y / kCellHeight : -((-y + kCellHeight - 1) / kCellHeight);
}
inline int DialogUnitsToPixelsX(int units) {
    return units * kCellWidth / kDialogUnitsPerCellX;
}
inline int DialogUnitsToPixelsY(int units) {
    return units * kCellHeight / kDialogUnitsPerCellY;
}

}  // namespace platform
