// The reference for the render benchmark: one full-screen refresh of the same cells by bare
// curses, into /dev/null, so that only curses' own work is timed.
#include <benchmark/benchmark.h>
#include <curses.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

void FullScreenRefresh(benchmark::State& state) {
    std::setlocale(LC_ALL, "");
    ::setenv("LINES", "40", 1);
    ::setenv("COLUMNS", "120", 1);
    FILE* out = std::fopen("/dev/null", "w");
    FILE* in = std::fopen("/dev/null", "r");
    SCREEN* screen = newterm("xterm-256color", out, in);
    set_term(screen);
    // The list's cells as the viewer's render benchmark fills them: a symbol and 18 prices.
    for (int row = 0; row < LINES; ++row) {
        move(row, 0);
        addstr("SYMBOL");
        for (int column = 1; column < 19 && getcurx(stdscr) + 8 < COLS; ++column)
            addstr("  123.45");
    }
    for (auto _ : state) {
        // The whole screen again, not only what changed: curses forgets what it drew.
        clearok(curscr, TRUE);
        wrefresh(stdscr);
    }
    endwin();
    delscreen(screen);
    std::fclose(out);
    std::fclose(in);
}
BENCHMARK(FullScreenRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
