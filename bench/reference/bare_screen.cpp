// The reference for the viewer's start: a bare curses program that starts, draws what the
// viewer's first frame shows (the navigation bar, the list's header and a page of its rows,
// the menu bar, in the same colours) and ends. What the viewer takes beyond this is its own.
#include <curses.h>

#include <clocale>
#include <cstdio>

namespace {

void Bar(int row, const char* text) {
    attron(COLOR_PAIR(1));
    mvhline(row, 0, ' ', COLS);
    mvaddstr(row, 0, text);
    attroff(COLOR_PAIR(1));
}

// " F1 Refresh │ F2 Tools ▴ │ F3 Help ▴ │", the keys in bold.
void MenuBar(int row) {
    attron(COLOR_PAIR(1));
    mvhline(row, 0, ' ', COLS);
    move(row, 0);
    const char* const items[][2] = {{"F1", " Refresh \xE2\x94\x82 "},
                                    {"F2", " Tools \xE2\x96\xB4 \xE2\x94\x82 "},
                                    {"F3", " Help \xE2\x96\xB4 \xE2\x94\x82"}};
    addstr(" ");
    for (const auto& item : items) {
        attron(A_BOLD);
        addstr(item[0]);
        attroff(A_BOLD);
        addstr(item[1]);
    }
    attroff(COLOR_PAIR(1));
}

}  // namespace

int main() {
    std::setlocale(LC_ALL, "");
    initscr();
    start_color();
    init_pair(1, COLOR_BLACK, COLOR_WHITE);
    noecho();
    curs_set(0);
    Bar(0, " PIV- 13:20(200)");
    mvaddstr(2, 0,
             "Symbol     Exch     Last $    Change     % Chg      Volume Prev Clos       EPS");
    for (int row = 3; row < LINES - 1; ++row) {
        char line[96];
        std::snprintf(
            line, sizeof line,
            "\xE2\x96\xA0 SYM%-4d   USA      %7.2f     +0.25    +0.19%%   %9d    %7.2f     %5.2f",
            row, 100.0 + row, 1000 * row, 99.75 + row, 1.5);
        mvaddstr(row, 0, line);
    }
    MenuBar(LINES - 1);
    refresh();
    endwin();
    return 0;
}
