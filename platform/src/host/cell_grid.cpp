#include "platform/host/cell_grid.h"

#include <algorithm>

namespace platform {

CellRect CellRect::Intersect(const CellRect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
}

void CellGrid::Resize(int columns, int rows) {
    columns_ = std::max(columns, 0);
    rows_ = std::max(rows, 0);
    cells_.assign(static_cast<std::size_t>(columns_) * rows_, Cell{});
    ResetClip();
}

const Cell& CellGrid::At(int column, int row) const {
    static const Cell outside;
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return outside;
    return cells_[static_cast<std::size_t>(row) * columns_ + column];
}

void CellGrid::Set(int column, int row, const Cell& cell) {
    if (!clip_.Contains(column, row) || column >= columns_ || row >= rows_) return;
    cells_[static_cast<std::size_t>(row) * columns_ + column] = cell;
}

void CellGrid::Fill(const CellRect& rect, const Cell& cell) {
    const CellRect r = rect.Intersect(clip_);
    for (int row = r.top; row < r.bottom; ++row) {
        for (int column = r.left; column < r.right; ++column) Set(column, row, cell);
    }
}

int CellGrid::Text(int column, int row, std::u16string_view text, const Cell& style, int limit) {
    Cell cell = style;
    for (char16_t c : text) {
        if (column >= limit) break;
        cell.ch = (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) ? u'?' : c;
        Set(column++, row, cell);
    }
    return column;
}

std::u16string CellGrid::RowText(int row) const {
    std::u16string text;
    for (int column = 0; column < columns_; ++column) text += At(column, row).ch;
    return text;
}

std::u16string CellGrid::AllText() const {
    std::u16string all;
    for (int row = 0; row < rows_; ++row) {
        std::u16string line = RowText(row);
        while (!line.empty() && line.back() == u' ') line.pop_back();
        all += line;
        if (row + 1 < rows_) all += u'\n';
    }
    return all;
}

}  // namespace platform
