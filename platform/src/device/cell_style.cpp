#include "device/cell_style.h"

namespace platform::detail {

char16_t AsciiFallback(char16_t ch) {
    switch (ch) {
        case u'\u25B2':
        case u'\u25B4': return u'^';
        case u'\u25BC':
        case u'\u25BE': return u'v';
        case u'\u25A0': return u'#';
        case u'\u25C2': return u'<';
        case u'\u25B8': return u'>';
        case u'\u2500': return u'-';
        case u'\u2502': return u'|';
        case u'\u250C':
        case u'\u2510':
        case u'\u2514':
        case u'\u2518':
        case u'\u251C':
        case u'\u2524':
        case u'\u252C':
        case u'\u2534':
        case u'\u253C': return u'+';
        case u'\u2026': return u'.';
        case u'\u2013': return u'-';
        case u'\u00B7': return u'|';
        default: return ch;
    }
}

CellLook LookOf(const Cell& cell, bool monochrome, bool utf8, bool eightColours) {
    CellLook look;
    look.ch = utf8 || cell.ch < 0x80 ? cell.ch : AsciiFallback(cell.ch);
    look.bold = cell.bold;
    look.underline = cell.underline;
    if (!monochrome) {
        look.fg = cell.fg;
        look.bg = cell.bg;
        look.reverse = eightColours && cell.bg == Color::gray;
        return look;
    }
    look.colored = false;
    switch (cell.bg) {
        case Color::blue: look.reverse = true; break;    // focus, selection, the title bar
        case Color::cyan: look.underline = true; break;  // an edit field
        case Color::gray: look.bold = true; break;       // the menu bar, list headers
        default: break;
    }
    return look;
}

}  // namespace platform::detail
