#include "device/terminal_screen.h"

#include <curses.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <ctime>

namespace platform::detail {
namespace {

volatile std::sig_atomic_t hibernateRequested = 0;
bool cursesActive = false;

// Restores the terminal and lets the signal do what it does by default.
void RestoreAndRaise(int signal) {
    if (cursesActive) endwin();
    cursesActive = false;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void OnLowMemory(int) {
    hibernateRequested = 1;
}

void InstallSignalHandlers() {
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        std::signal(s, RestoreAndRaise);
    }
    // SIGUSR1 stands in for the handheld's low-memory notice.
    struct sigaction low {};
    low.sa_handler = OnLowMemory;
    sigaction(SIGUSR1, &low, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

short ColorOf(Color c) {
    switch (c) {
        case Color::black:
            return COLOR_BLACK;
        case Color::red:
            return COLOR_RED;
        case Color::green:
            return COLOR_GREEN;
        case Color::yellow:
            return COLOR_YELLOW;
        case Color::blue:
            return COLOR_BLUE;
        case Color::magenta:
            return COLOR_MAGENTA;
        case Color::cyan:
            return COLOR_CYAN;
        case Color::gray:
            return COLOR_WHITE;
        case Color::white:
            return COLORS >= 16 ? 15 : COLOR_WHITE;
    }
    return COLOR_WHITE;
}

constexpr int kColorCount = 9;

short PairOf(Color fg, Color bg) {
    return static_cast<short>(1 + static_cast<int>(fg) * kColorCount + static_cast<int>(bg));
}

class TerminalDevice : public Device {
public:
    TerminalDevice() {
        std::setlocale(LC_ALL, "");
        initscr();
        cursesActive = true;
        raw();
        noecho();
        nonl();
        keypad(stdscr, TRUE);
        nodelay(stdscr, TRUE);
        set_escdelay(25);
        curs_set(0);
        mousemask(BUTTON1_PRESSED | BUTTON4_PRESSED | BUTTON5_PRESSED, nullptr);
        mouseinterval(0);
        if (has_colors()) {
            start_color();
            for (int f = 0; f < kColorCount; ++f) {
                for (int b = 0; b < kColorCount; ++b) {
                    init_pair(PairOf(Color(f), Color(b)), ColorOf(Color(f)), ColorOf(Color(b)));
                }
            }
        }
        InstallSignalHandlers();
        start_ = std::chrono::steady_clock::now();
    }

    ~TerminalDevice() override {
        if (cursesActive) endwin();
        cursesActive = false;
    }

    int Columns() const override { return COLS; }
    int Rows() const override { return LINES; }

    std::int64_t NowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }

    std::int64_t LocalTimeMs() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return (static_cast<std::int64_t>(now) + local.tm_gmtoff) * 1000;
    }

    void Present(const CellGrid& grid) override {
        if (!(shown_.columns() == grid.columns() && shown_.rows() == grid.rows())) {
            shown_.Resize(grid.columns(), grid.rows());
            fullRedraw_ = true;
        }
        // Only the cells that changed go to the terminal.
        for (int row = 0; row < grid.rows(); ++row) {
            for (int column = 0; column < grid.columns(); ++column) {
                const Cell& cell = grid.At(column, row);
                if (!fullRedraw_ && cell == shown_.At(column, row)) continue;
                PutCell(column, row, cell);
                shown_.Set(column, row, cell);
            }
        }
        fullRedraw_ = false;
        refresh();
    }

    InputEvent Wait(std::int64_t deadline, int wakeFd) override {
        for (;;) {
            if (hibernateRequested) {
                hibernateRequested = 0;
                InputEvent e;
                e.kind = InputEvent::Kind::hibernate;
                return e;
            }
            InputEvent e;
            if (ReadKey(e)) return e;
            int timeout = -1;
            if (deadline >= 0) {
                const std::int64_t left = deadline - NowMs();
                if (left <= 0) return {};
                timeout = static_cast<int>(std::min<std::int64_t>(left, 1 << 30));
            }
            pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeFd, POLLIN, 0}};
            const int ready = ::poll(fds, wakeFd >= 0 ? 2 : 1, timeout);
            if (ready == 0) return {};
            if (ready > 0 && wakeFd >= 0 && (fds[1].revents & POLLIN)) return {};
            // Input, or a signal (EINTR): a resize shows up as a key.
        }
    }

    void Bell() override { beep(); }
    void Flash() override {
        flash();
        refresh();
    }

    void SetBusy(bool busy) override {
        // Drawn at once: the program is about to block.
        const Cell mark{busy ? u'\u231B' : u' ', Color::white, Color::blue, true};
        PutCell(COLS - 7, 0, mark);
        shown_.Set(COLS - 7, 0, mark);
        refresh();
    }

    void Launch(const std::vector<std::string>& argv, bool interactive) override {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (interactive) def_prog_mode(), endwin();
        const pid_t child = ::fork();
        if (child == 0) {
            if (!interactive) {
                // Detached: the program outlives nothing of ours and is not waited for.
                if (::fork() != 0) _exit(0);
                ::setsid();
            }
            ::execvp(args[0], args.data());
            _exit(127);
        }
        if (child > 0) ::waitpid(child, nullptr, 0);
        if (interactive) {
            reset_prog_mode();
            fullRedraw_ = true;
            clearok(curscr, TRUE);
            refresh();
        }
    }

private:
    void PutCell(int column, int row, const Cell& cell) {
        wchar_t text[2] = {static_cast<wchar_t>(cell.ch), 0};
        attr_t attrs = (cell.bold ? A_BOLD : 0) | (cell.underline ? A_UNDERLINE : 0);
        cchar_t c;
        setcchar(&c, text, attrs, has_colors() ? PairOf(cell.fg, cell.bg) : 0, nullptr);
        mvadd_wch(row, column, &c);
    }

    static WORD VirtualKeyOf(int key) {
        switch (key) {
            case KEY_UP:
                return VK_UP;
            case KEY_DOWN:
                return VK_DOWN;
            case KEY_LEFT:
                return VK_LEFT;
            case KEY_RIGHT:
                return VK_RIGHT;
            case KEY_HOME:
                return VK_HOME;
            case KEY_END:
                return VK_END;
            case KEY_PPAGE:
                return VK_PRIOR;
            case KEY_NPAGE:
                return VK_NEXT;
            case KEY_DC:
                return VK_DELETE;
            case KEY_BACKSPACE:
                return VK_BACK;
            case KEY_ENTER:
                return VK_RETURN;
            default:
                break;
        }
        if (key >= KEY_F(1) && key <= KEY_F(12)) return static_cast<WORD>(VK_F1 + key - KEY_F(1));
        return 0;
    }

    bool ReadMouse(InputEvent& e) {
        MEVENT m;
        if (getmouse(&m) != OK) return false;
        e.x = m.x * kCellWidth + kCellWidth / 2;
        e.y = m.y * kCellHeight + kCellHeight / 2;
        if (m.bstate & BUTTON1_PRESSED)
            e.kind = InputEvent::Kind::tap;
        else if (m.bstate & BUTTON4_PRESSED)
            e.kind = InputEvent::Kind::wheel, e.delta = 1;
        else if (m.bstate & BUTTON5_PRESSED)
            e.kind = InputEvent::Kind::wheel, e.delta = -1;
        else
            return false;
        return true;
    }

    // A character typed: controls, Esc (alone, or with a key after it: Alt), text.
    bool CharacterEvent(wint_t ch, InputEvent& e) {
        e.kind = InputEvent::Kind::key;
        if (ch == 27) {
            wint_t next = 0;
            if (get_wch(&next) == ERR) {
                e.vk = VK_ESCAPE;
                return true;
            }
            if (!CharacterEvent(next, e)) return false;
            e.alt = true;
            e.ch = 0;
            return true;
        }
        switch (ch) {
            case 9:
                e.vk = VK_TAB;
                return true;
            case 10:
            case 13:
                e.vk = VK_RETURN;
                return true;
            case 8:
            case 127:
                e.vk = VK_BACK;
                return true;
            default:
                break;
        }
        if (ch >= 1 && ch <= 26) {
            e.vk = static_cast<WORD>('A' + ch - 1);
            e.ctrl = true;
            return true;
        }
        if (ch < 32) return false;
        e.ch = static_cast<char16_t>(ch > 0xFFFF ? 0xFFFD : ch);
        const wint_t upper = (ch >= 'a' && ch <= 'z') ? ch - 32 : ch;
        e.vk = upper < 0x80 ? static_cast<WORD>(upper) : 0;
        e.shift = ch >= 'A' && ch <= 'Z';
        return true;
    }

    bool ReadKey(InputEvent& e) {
        wint_t ch = 0;
        const int kind = get_wch(&ch);
        if (kind == ERR) return false;
        e = {};
        if (kind == KEY_CODE_YES) {
            if (ch == KEY_RESIZE) {
                e.kind = InputEvent::Kind::resize;
                fullRedraw_ = true;
                return true;
            }
            if (ch == KEY_MOUSE) return ReadMouse(e);
            if (ch == KEY_BTAB) {
                e.kind = InputEvent::Kind::key;
                e.vk = VK_TAB;
                e.shift = true;
                return true;
            }
            e.vk = VirtualKeyOf(static_cast<int>(ch));
            e.kind = InputEvent::Kind::key;
            return e.vk != 0;
        }
        return CharacterEvent(ch, e);
    }

    std::chrono::steady_clock::time_point start_;
    CellGrid shown_;
    bool fullRedraw_ = true;
};

}  // namespace

std::unique_ptr<Device> OpenTerminalDevice() {
    if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO)) {
        std::fprintf(stderr, "%s: needs a terminal\n", program_invocation_short_name);
        return nullptr;
    }
    return std::make_unique<TerminalDevice>();
}

}  // namespace platform::detail
