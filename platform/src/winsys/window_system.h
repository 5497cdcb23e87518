// The window system's state and its engine: windows, classes, the z-order, focus and
// foreground, the queue and the timers, and the operations on them that the window calls
// (user32) and the platform's own windows build on. One per process, like the handheld's own.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "host/handle_table.h"
#include "platform/host/cell_grid.h"
#include "platform/user32/message_loop.h"

namespace platform::detail {

// Built-in classes draw themselves into the grid; `bounds` is the window in screen cells.
using DrawProc = void (*)(HWND window, CellGrid& grid, const CellRect& bounds);

struct WindowClassInfo {
    std::u16string name;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    UINT style = 0;
    DrawProc draw = nullptr;
    bool builtin = false;  // one of the platform's own classes
};

// State a built-in window keeps; each class derives its own.
struct ControlState {
    virtual ~ControlState() = default;
};

// Where the window system keeps a top-level window when the screen changes size.
enum class Dock {
    none,
    desktop,     // between the navigation bar and the menu bar (CW_USEDEFAULT windows)
    fullScreen,  // everything under the navigation bar (full-screen dialogs)
    top,         // the navigation bar's strip
    bottom,      // the menu bar's strip
};

struct WindowData {
    HWND handle = nullptr;
    const WindowClassInfo* cls = nullptr;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;  // children only
    HWND owner = nullptr;   // top-level windows owned by another (dialogs, boxes, menus)
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};  // parent's client coordinates for children, screen for top-level windows
    std::u16string text;
    std::u16string navTitle;
    bool hasNavTitle = false;
    Dock dock = Dock::none;
    bool topmost = false;     // drawn above every other window, takes taps under modal windows
    bool popup = false;       // a popup menu or list: never the navigation bar's window
    bool doneButton = false;  // a full-screen dialog's Done button in the navigation bar
    bool needsPaint = true;
    bool destroying = false;
    std::vector<HWND> children;  // creation order: later ones are on top
    HWND lastFocus = nullptr;
    HWND menuBar = nullptr;  // a top-level window's menu bar
    LONG_PTR userData = 0;
    LONG_PTR messageResult = 0;
    std::unique_ptr<ControlState> control;
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period;
    std::int64_t due;
    bool pending;
    TIMERPROC proc;
};

struct WindowSystem {
    HandleTable<WindowData> windows{0x10000};
    std::vector<std::unique_ptr<WindowClassInfo>> classes;
    std::vector<HWND> topLevels;  // bottom to top
    HWND foreground = nullptr;
    HWND focus = nullptr;
    std::deque<MSG> queue;
    std::vector<Timer> timers;
    std::vector<HWND> modalStack;  // windows running a modal loop, innermost last
    POINT cursor{0, 0};
    bool cursorKnown = false;
    bool busy = false;
    bool quitWhenIdle = false;  // a Ctrl+Q cancelled a network call: it quits once no modal runs
    CellGrid grid;
};

WindowSystem& Windows();
// Destroys every window, forgets classes, queue and timers, and resets every handle table
// (between tests, and when a program ends).
void ResetWindowSystem();

// --- Windows and classes (window_system.cpp) ---------------------------------------------
WindowData* FindWindowData(HWND window);
const WindowClassInfo* FindClass(std::u16string_view name);
// Registers a class of the platform's own (controls, menus, boxes, bars) once.
const WindowClassInfo* RegisterBuiltinClass(std::u16string_view name, WNDPROC proc, DrawProc draw,
                                            HBRUSH background = nullptr);

// The state a built-in window of class state T keeps, or null.
template <typename T>
T* StateOf(HWND window) {
    WindowData* data = FindWindowData(window);
    if (!data || !data->control) return nullptr;
    // The exact type is the common case, and far cheaper to tell than a cast through the tree.
    auto* control = data->control.get();
    if (typeid(*control) == typeid(T)) return static_cast<T*>(control);
    return dynamic_cast<T*>(control);
}

// Gives a window a fresh state of type T and returns it.
template <typename T>
T* CreateState(HWND window) {
    WindowData* data = FindWindowData(window);
    if (!data) return nullptr;
    data->control = std::make_unique<T>();
    return static_cast<T*>(data->control.get());
}

// The top-level window a window belongs to.
HWND TopLevelOf(HWND window);
// True when `window` is `ancestor` or lies inside it (children and owned windows).
bool IsWithin(HWND window, HWND ancestor);
// The parent of a child, the owner of a top-level window.
HWND ParentOrOwner(HWND window);
// A window's rectangle in screen pixels, and in screen cells.
RECT ScreenRect(HWND window);
CellRect ScreenCells(HWND window);
// The deepest visible child of `window` under a screen point: where a tap there goes.
HWND ChildAt(HWND window, int x, int y);
// The desktop: the screen under the navigation bar and above the menu bar, in pixels.
RECT DesktopRect();
// The screen's size in pixels.
int ScreenWidth();
int ScreenHeight();
// The stock brushes (WHITE_BRUSH, ...), or null.
HBRUSH StockBrush(int object);

// --- The window tree (window_tree.cpp) ----------------------------------------------------
// Destroys owned windows and children first, each with its own WM_DESTROY.
bool Destroy(HWND window);
// Visible itself and inside visible parents.
bool IsVisible(HWND window);
bool IsEnabled(HWND window);
// Enables or disables; WM_ENABLE when that changes. Returns whether it was disabled.
bool Enable(HWND window, bool enable);
// Moves a window (its parent's client coordinates, or the screen); WM_SIZE when the size
// changed.
bool Place(HWND window, const RECT& rect);
// The rectangle a dock gives a window on the screen as it is now.
RECT DockRect(Dock dock);
// Puts every docked top-level window where its dock says (only the bars, when asked: the
// screen has not changed size, and a program may have moved its own windows).
void ApplyDocking(bool barsOnly = false);
// After a resize: every dialog and message box that is up, centred on the desktop again, never
// over a bar it fits beside, and scrolled to its focused control.
void RecentreModals();
// A dialog larger than the desktop moves (in whole cells) so that its focused control shows:
// every control is reached by keys at any screen size.
void KeepFocusInView(HWND modal);
// Makes a top-level window the foreground window and sends WM_ACTIVATE to both.
void Activate(HWND window);
// Brings a window's top-level window to the front, with a modal window of its own that is
// up (an open dialog) in front of it.
bool BringToFront(HWND window);
// The window that takes keys: the innermost modal window's focus, or the foreground's.
HWND KeyTarget();
// Moves the focus; WM_KILLFOCUS and WM_SETFOCUS. Returns the window that had it.
HWND MoveFocus(HWND window);

// --- Messages (message_engine.cpp) --------------------------------------------------------
// Milliseconds on the device's clock.
std::int64_t Now();
// Calls the window's procedure. No exception crosses it: one that escapes (memory running
// out inside a control) ends that message, not the program.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuit(int exitCode);
// The Ctrl+Q that cancelled a network call, handed to the program once no modal loop (the
// failed call's message) runs, so that it quits as Ctrl+Q does.
void QuitWhenIdle();
// The next message: posted messages, then due timers, then WM_PAINT; otherwise draws the
// screen and waits for input until the next timer. False for WM_QUIT.
bool NextMessage(MSG& msg);
// A posted message (or, when removing, a due timer) if one is there, without waiting.
bool PeekMessage(MSG& msg, bool remove);
// A key message that types a character is followed by WM_CHAR with it.
bool Translate(const MSG& msg);
LRESULT Dispatch(const MSG& msg);

// --- Helpers ------------------------------------------------------------------------------
// Answers WM_GETTEXT: copies `text` into the caller's buffer of `capacity` units, cut to
// capacity - 1; returns the characters copied.
LRESULT CopyTextOut(std::u16string_view text, WPARAM capacity, LPARAM buffer);
// Text without its "&" marks; the mnemonic (the character after the first "&") if asked.
std::u16string StripMnemonic(std::u16string_view text, char16_t* mnemonic = nullptr);

// Sent by input routing to a window's menu bar for F1 to F9 and Alt with a letter: wParam
// the virtual key, lParam the key's flags. Nonzero when the bar took the key.
inline constexpr UINT kMenuBarKey = WM_USER + 0x700;
// F10, to the navigation bar: press its [ok] when it shows one (as htop and mc quit with F10).
inline constexpr UINT kNavigationOkKey = WM_USER + 0x703;

}  // namespace platform::detail
