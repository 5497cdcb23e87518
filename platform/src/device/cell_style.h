// How a cell of the screen is shown by a terminal: its colours, or, on a terminal without
// colour (or with NO_COLOR set), attributes that say the same: reverse video for what has the
// focus or is selected (the cells drawn on blue), underline for edit fields (on cyan), bold for
// bars and headers (on grey). With eight colours, whose white is the grey, bars and headers
// are in reverse video, so that they stand apart from the rows. Glyphs a non-UTF-8 locale
// cannot show become ASCII.
#pragma once

#include "platform/host/cell_grid.h"

namespace platform::detail {

struct CellLook {
    char16_t ch = u' ';
    bool colored = true;  // fg and bg are the colours to use; none without colour
    Color fg = Color::black;
    Color bg = Color::white;
    bool bold = false;
    bool underline = false;
    bool reverse = false;
};

CellLook LookOf(const Cell& cell, bool monochrome, bool utf8, bool eightColours = false);
// The ASCII stand-in of a glyph (▲ ^, ▼ v, ■ #, box lines - | +, ◂ <, ▸ >); the character itself
// when it has none.
char16_t AsciiFallback(char16_t ch);

}  // namespace platform::detail
