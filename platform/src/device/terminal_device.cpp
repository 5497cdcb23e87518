#include "device/terminal_device.h"

#include <curses.h>
#include <term.h>  // setupterm and tigetstr, to check TERM before curses writes
// term.h names every capability as a macro; the device has methods of two of those names.
#undef columns
#undef lines
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "device/cell_style.h"
#include "device/key_decoder.h"
#include "platform/host/utf.h"

namespace platform::detail {
namespace {

// VK_ESCAPE: the windows' headers are kept away from curses' macros.
constexpr WORD kEscapeKey = 0x1B;

// Mouse presses and the wheel, reported in SGR form; and off again.
constexpr char kMouseOn[] = "\x1B[?1000h\x1B[?1006h";
constexpr char kMouseOff[] = "\x1B[?1006l\x1B[?1000l";
// The terminal's window title, saved on its stack at the start and restored at the end
// (xterm's title stack; terminals without one ignore both).
constexpr char kTitlePush[] = "\x1B[22;0t";
constexpr char kTitlePop[] = "\x1B[23;0t";
// How long an Esc waits for the rest of a sequence before it counts as Esc alone.
constexpr int kEscapeWaitMs = 25;

volatile std::sig_atomic_t hibernateRequested = 0;
volatile std::sig_atomic_t resizeRequested = 0;
bool cursesActive = false;

void WriteOut(const char* text) {
    std::fflush(stdout);
    for (std::size_t done = 0, size = std::strlen(text); done < size;) {
        const ssize_t n = ::write(STDOUT_FILENO, text + done, size - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

void RestoreTerminal() {
    if (!cursesActive) return;
    WriteOut(kMouseOff);
    WriteOut(kTitlePop);
    endwin();
    cursesActive = false;
}

// Restores the terminal and lets the signal do what it does by default.
void RestoreAndRaise(int signal) {
    RestoreTerminal();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void OnLowMemory(int) {
    hibernateRequested = 1;
}

void OnResize(int) {
    resizeRequested = 1;
}

void InstallSignalHandlers() {
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        std::signal(s, RestoreAndRaise);
    }
    // SIGUSR1 stands in for the handheld's low-memory notice. Neither handler restarts a
    // wait, so that poll returns to see the flag.
    struct sigaction low {};
    low.sa_handler = OnLowMemory;
    sigaction(SIGUSR1, &low, nullptr);
    struct sigaction winch {};
    winch.sa_handler = OnResize;
    sigaction(SIGWINCH, &winch, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

short ColorOf(Color c) {
    switch (c) {
        case Color::black: return COLOR_BLACK;
        case Color::red: return COLOR_RED;
        // A darker green where the palette has one: the terminals' own green on white is
        // too faint (under 2:1) for the up mark.
        case Color::green: return COLORS >= 256 ? 28 : COLOR_GREEN;
        case Color::yellow: return COLOR_YELLOW;
        case Color::blue: return COLOR_BLUE;
        case Color::magenta: return COLOR_MAGENTA;
        case Color::cyan: return COLOR_CYAN;
        case Color::gray: return COLOR_WHITE;
        case Color::white: return COLORS >= 16 ? 15 : COLOR_WHITE;
    }
    return COLOR_WHITE;
}

constexpr int kColorCount = 9;

short PairOf(Color fg, Color bg) {
    return static_cast<short>(1 + static_cast<int>(fg) * kColorCount + static_cast<int>(bg));
}

void StartColors() {
    if (!has_colors()) return;
    start_color();
    for (int f = 0; f < kColorCount; ++f) {
        for (int b = 0; b < kColorCount; ++b) {
            init_pair(PairOf(Color(f), Color(b)), ColorOf(Color(f)), ColorOf(Color(b)));
        }
    }
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
        // Input is read as bytes and decoded here; curses only draws.
        keypad(stdscr, FALSE);
        typeahead(-1);
        curs_set(0);
        // Without colour, or when the user asks for none (https://no-color.org), attributes
        // say what colours would.
        const char* noColor = std::getenv("NO_COLOR");
        monochrome_ = !has_colors() || (noColor && *noColor);
        const char* codeset = nl_langinfo(CODESET);
        utf8_ = codeset && std::string_view(codeset) == "UTF-8";
        if (!monochrome_) StartColors();
        eightColours_ = !monochrome_ && COLORS < 16;  // xterm's TERM=xterm, the linux console
        InstallSignalHandlers();
        // No refresh here: the first frame's clears and draws the screen in one pass.
        WriteOut(kMouseOn);
        WriteOut(kTitlePush);
        start_ = std::chrono::steady_clock::now();
    }

    ~TerminalDevice() override { RestoreTerminal(); }

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
            if (InputEvent e; TakeSignalled(e) || TakeQueued(e)) return e;
            int timeout = -1;
            if (deadline >= 0) {
                const std::int64_t left = deadline - NowMs();
                if (left <= 0) return {};
                timeout = static_cast<int>(std::min<std::int64_t>(left, 1 << 30));
            }
            if (decoder_.Pending() && (timeout < 0 || timeout > kEscapeWaitMs))
                timeout = kEscapeWaitMs;
            pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeFd, POLLIN, 0}};
            const int ready = ::poll(fds, wakeFd >= 0 ? 2 : 1, timeout);
            if (ready < 0) continue;  // a signal: its flag is looked at next
            if (ready == 0) {
                if (!decoder_.Pending()) return {};
                decoder_.Flush(events_);  // quiet after an Esc: Esc alone
                continue;
            }
            if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
                if (!ReadInput()) return Quit();
                continue;
            }
            if (wakeFd >= 0 && (fds[1].revents & POLLIN)) return {};
        }
    }

    void Bell() override { beep(); }

    int BlockedInputFd() const override { return STDIN_FILENO; }

    BlockedKey TakeBlockedKey() override {
        if (!ReadInput()) return BlockedKey::cancelAndQuit;
        // A lone Esc is one only once nothing follows it for a moment.
        if (decoder_.Pending()) {
            pollfd more{STDIN_FILENO, POLLIN, 0};
            if (::poll(&more, 1, kEscapeWaitMs) > 0) {
                if (!ReadInput()) return BlockedKey::cancelAndQuit;
            } else {
                decoder_.Flush(events_);
            }
        }
        for (auto it = events_.begin(); it != events_.end(); ++it) {
            if (it->kind != InputEvent::Kind::key || it->alt || it->shift) continue;
            const bool esc = it->vk == kEscapeKey && !it->ctrl;
            const bool quit = it->vk == 'Q' && it->ctrl;
            if (!esc && !quit) continue;
            events_.erase(it);
            return esc ? BlockedKey::cancel : BlockedKey::cancelAndQuit;
        }
        return BlockedKey::none;
    }

    void SetTitle(const std::u16string& title) override {
        if (title == title_) return;
        title_ = title;
        std::u16string shown;
        for (char16_t c : title) {
            if (c >= 0x20 && c != 0x7F) shown += c;  // a control would end the sequence
        }
        WriteOut(("\x1B]0;" + ToUtf8(shown) + "\x07").c_str());
    }
    void Flash() override {
        flash();
        refresh();
    }

    void Launch(const std::vector<std::string>& argv, bool interactive) override {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (interactive) {
            WriteOut(kMouseOff);
            def_prog_mode();
            endwin();
        }
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
            WriteOut(kMouseOn);
        }
    }

private:
    void PutCell(int column, int row, const Cell& cell) {
        const CellLook look = LookOf(cell, monochrome_, utf8_, eightColours_);
        wchar_t text[2] = {static_cast<wchar_t>(look.ch), 0};
        const attr_t attrs = (look.bold ? A_BOLD : 0) | (look.underline ? A_UNDERLINE : 0) |
                             (look.reverse ? A_REVERSE : 0);
        cchar_t c;
        setcchar(&c, text, attrs, look.colored ? PairOf(look.fg, look.bg) : 0, nullptr);
        mvadd_wch(row, column, &c);
    }

    bool TakeSignalled(InputEvent& e) {
        if (hibernateRequested) {
            hibernateRequested = 0;
            e.kind = InputEvent::Kind::hibernate;
            return true;
        }
        if (resizeRequested) {
            resizeRequested = 0;
            winsize size{};
            if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row && size.ws_col)
                resizeterm(size.ws_row, size.ws_col);
            // The terminal may have been shrunk and grown back while the loop was blocked:
            // curses, seeing its old size again, would think the screen still shows what it
            // showed, and send nothing. Everything is sent again.
            clearok(curscr, TRUE);
            fullRedraw_ = true;
            e.kind = InputEvent::Kind::resize;
            return true;
        }
        return false;
    }

    bool TakeQueued(InputEvent& e) {
        if (events_.empty()) return false;
        e = events_.front();
        events_.erase(events_.begin());
        // Ctrl+L redraws the whole screen, as in every curses program (whatever another
        // program wrote over it goes); the windows take it as a resize to their own size.
        if (e.kind == InputEvent::Kind::key && e.ctrl && !e.alt && e.vk == 'L') {
            e = InputEvent{};
            e.kind = InputEvent::Kind::resize;
            clearok(curscr, TRUE);
        }
        if (e.kind == InputEvent::Kind::resize) fullRedraw_ = true;
        return true;
    }

    // Reads what the terminal sent; false when it has gone.
    bool ReadInput() {
        char bytes[256];
        const ssize_t n = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (n < 0) return errno == EINTR || errno == EAGAIN;
        if (n == 0) return false;
        decoder_.Feed(std::string_view(bytes, static_cast<std::size_t>(n)), events_);
        return true;
    }

    static InputEvent Quit() {
        InputEvent e;
        e.kind = InputEvent::Kind::quit;
        return e;
    }

    std::chrono::steady_clock::time_point start_;
    std::u16string title_;
    bool monochrome_ = false;
    bool utf8_ = true;
    bool eightColours_ = false;  // the palette's white is its grey
    CellGrid shown_;
    bool fullRedraw_ = true;
    KeyDecoder decoder_;
    std::vector<InputEvent> events_;
};

}  // namespace

namespace {

bool terminalRefused = false;

// Whether TERM names a terminal that can address the cursor, told before curses writes a
// byte: an unknown TERM, or "dumb", would give a blank screen that answers nothing.
bool UsableTerm() {
    const char* term = std::getenv("TERM");
    const std::string name = term && *term ? term : "(unset)";
    int error = 0;
    const bool known = term && *term && setupterm(nullptr, STDOUT_FILENO, &error) == OK;
    const char* cup = known ? tigetstr(const_cast<char*>("cup")) : nullptr;
    const bool addressable = cup && cup != reinterpret_cast<const char*>(-1);
    if (known) del_curterm(cur_term);
    if (addressable) return true;
    std::fprintf(stderr, "%s: the terminal TERM=%s %s; set TERM to one such as xterm-256color\n",
                 program_invocation_short_name, name.c_str(),
                 known ? "cannot move its cursor" : "is unknown");
    return false;
}

}  // namespace

std::unique_ptr<Device> OpenTerminalDevice() {
    if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO)) {
        std::fprintf(stderr, "%s: needs a terminal\n", program_invocation_short_name);
        terminalRefused = true;
        return nullptr;
    }
    if (!UsableTerm()) {
        terminalRefused = true;
        return nullptr;
    }
    return std::make_unique<TerminalDevice>();
}

bool TerminalRefused() {
    return terminalRefused;
}

}  // namespace platform::detail
