// Drawing helpers shared by the platform's own windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/host/cell_grid.h"

namespace platform::detail {

inline constexpr Cell kPlain{u' ', Color::black, Color::white};
inline constexpr Cell kHighlight{u' ', Color::white, Color::blue, true};

// A single-line frame around `r`, its inside filled with `fill`.
void DrawFrame(CellGrid& grid, const CellRect& r, const Cell& fill);
// Text centred in [left, right) on a row.
void DrawCentred(CellGrid& grid, int left, int right, int row, std::u16string_view text,
                 const Cell& style);
// Text with the character after "&" underlined, "&" itself not drawn; returns the column
// after it.
int DrawMnemonicText(CellGrid& grid, int column, int row, std::u16string_view text,
                     const Cell& style, int limit);
// Splits text into lines of at most `width` characters at spaces; "\r" and "\n" break lines.
std::vector<std::u16string> WrapText(std::u16string_view text, int width);

}  // namespace platform::detail
