#include "winsys/draw.h"

#include <algorithm>

namespace platform::detail {

void DrawFrame(CellGrid& grid, const CellRect& r, const Cell& fill) {
    if (r.Empty()) return;
    grid.Fill(r, fill);
    Cell line = fill;
    for (int c = r.left + 1; c < r.right - 1; ++c) {
        line.ch = u'\u2500';
        grid.Set(c, r.top, line);
        grid.Set(c, r.bottom - 1, line);
    }
    for (int row = r.top + 1; row < r.bottom - 1; ++row) {
        line.ch = u'\u2502';
        grid.Set(r.left, row, line);
        grid.Set(r.right - 1, row, line);
    }
    const char16_t corners[] = {u'\u250C', u'\u2510', u'\u2514', u'\u2518'};
    line.ch = corners[0];
    grid.Set(r.left, r.top, line);
    line.ch = corners[1];
    grid.Set(r.right - 1, r.top, line);
    line.ch = corners[2];
    grid.Set(r.left, r.bottom - 1, line);
    line.ch = corners[3];
    grid.Set(r.right - 1, r.bottom - 1, line);
}

void DrawCentred(CellGrid& grid, int left, int right, int row, std::u16string_view text,
                 const Cell& style) {
    const int width = right - left;
    const int length = std::min<int>(static_cast<int>(text.size()), width);
    grid.Text(left + (width - length) / 2, row, text.substr(0, length), style, right);
}

int DrawMnemonicText(CellGrid& grid, int column, int row, std::u16string_view text,
                     const Cell& style, int limit) {
    bool underlineNext = false;
    for (char16_t c : text) {
        if (c == u'&' && !underlineNext) {
            underlineNext = true;
            continue;
        }
        if (column >= limit) break;
        Cell cell = style;
        cell.ch = c;
        cell.underline = underlineNext && c != u'&';
        underlineNext = false;
        grid.Set(column++, row, cell);
    }
    return column;
}

std::vector<std::u16string> WrapText(std::u16string_view text, int width) {
    std::vector<std::u16string> lines;
    width = std::max(width, 1);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) end = text.size();
        std::u16string_view paragraph = text.substr(start, end - start);
        do {
            if (static_cast<int>(paragraph.size()) <= width) {
                lines.emplace_back(paragraph);
                break;
            }
            std::size_t cut = paragraph.rfind(u' ', static_cast<std::size_t>(width));
            if (cut == std::u16string_view::npos || cut == 0) cut = static_cast<std::size_t>(width);
            lines.emplace_back(paragraph.substr(0, cut));
            paragraph.remove_prefix(cut);
            while (!paragraph.empty() && paragraph.front() == u' ') paragraph.remove_prefix(1);
        } while (!paragraph.empty());
        if (end == text.size()) break;
        // "\r\n" is one break.
        start =
            end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
    }
    return lines;
}

}  // namespace platform::detail
