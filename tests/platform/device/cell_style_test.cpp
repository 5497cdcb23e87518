// What a terminal without colour shows for each kind of cell, and the ASCII stand-ins of the
// glyphs outside a UTF-8 locale.
#include <gtest/gtest.h>

#include "device/cell_style.h"

namespace {

using platform::Cell;
using platform::detail::LookOf;

TEST(CellStyle, WithoutColourAttributesSayWhatColoursWould) {
    struct Case {
        Color bg;
        bool reverse, underline, bold;
    };
    const Case cases[] = {
        {Color::blue, true, false, false},    // focus, selection, the title bar
        {Color::cyan, false, true, false},    // an edit field
        {Color::gray, false, false, true},    // the menu bar, a list header
        {Color::white, false, false, false},  // plain text
    };
    for (const Case& c : cases) {
        const auto look = LookOf(Cell{u'x', Color::black, c.bg}, true, true);
        EXPECT_FALSE(look.colored);
        EXPECT_EQ(look.reverse, c.reverse);
        EXPECT_EQ(look.underline, c.underline);
        EXPECT_EQ(look.bold, c.bold);
        const auto colored = LookOf(Cell{u'x', Color::black, c.bg}, false, true);
        EXPECT_TRUE(colored.colored && !colored.reverse);
        EXPECT_EQ(colored.bg, c.bg);
        // Eight colours have one white for the rows and the grey: bars and headers reverse.
        const auto eight = LookOf(Cell{u'x', Color::black, c.bg}, false, true, true);
        EXPECT_TRUE(eight.colored);
        EXPECT_EQ(eight.reverse, c.bg == Color::gray);
    }
}

TEST(CellStyle, TheMarksStayDistinctInAscii) {
    const char16_t up = LookOf(Cell{u'\u25B2'}, true, false).ch;
    const char16_t down = LookOf(Cell{u'\u25BC'}, true, false).ch;
    const char16_t same = LookOf(Cell{u'\u25A0'}, true, false).ch;
    EXPECT_LT(up, 0x80);
    EXPECT_LT(down, 0x80);
    EXPECT_LT(same, 0x80);
    EXPECT_TRUE(up != down && down != same && up != same);
    EXPECT_EQ(LookOf(Cell{u'\u25B2'}, true, true).ch, u'\u25B2');   // UTF-8 keeps the glyph
    EXPECT_EQ(LookOf(Cell{u'\u00E9'}, true, false).ch, u'\u00E9');  // no stand-in: as it is
}

}  // namespace
