// The window system's state: windows, classes, the z-order, focus and foreground, the queue
// and the timers. One per process, like the handheld's own.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

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
};

// State a built-in control keeps; each control type derives its own.
struct ControlState {
    virtual ~ControlState() = default;
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
    bool fillsDesktop = false;  // follows the desktop when the screen is resized
    bool doneButton = false;    // a full-screen dialog's Done button in the navigation bar
    bool fullScreen = false;    // fills the screen under the navigation bar
    bool needsPaint = true;
    bool destroying = false;
    std::vector<HWND> children;  // creation order: later ones are on top
    HWND lastFocus = nullptr;
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
    std::map<std::uintptr_t, std::unique_ptr<WindowData>> windows;
    std::uintptr_t nextHandle = 0x10000;
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
    CellGrid grid;
};

WindowSystem& Windows();
// Destroys every window and forgets classes, queue and timers (between tests).
void ResetWindowSystem();

WindowData* FindWindowData(HWND window);
const WindowClassInfo* FindClass(std::u16string_view name);
// Registers a class of the platform's own (controls, menus, boxes) once.
const WindowClassInfo* RegisterBuiltinClass(std::u16string_view name, WNDPROC proc, DrawProc draw,
                                            HBRUSH background = nullptr);

// The top-level window a window belongs to.
HWND TopLevelOf(HWND window);
// True when `window` is `ancestor` or lies inside it (children and owned windows).
bool IsWithin(HWND window, HWND ancestor);
// A window's rectangle in screen pixels, and in screen cells.
RECT ScreenRect(HWND window);
CellRect ScreenCells(HWND window);
// The desktop: the screen under the navigation bar and above the menu bar, in pixels.
RECT DesktopRect();
// The screen's size in pixels.
int ScreenWidth();
int ScreenHeight();

// Makes a top-level window the foreground window and sends WM_ACTIVATE to both.
void Activate(HWND window);
// The window that takes keys: the innermost modal window's focus, or the foreground's.
HWND KeyTarget();

// Runs a modal loop for `window` until `done` says so or WM_QUIT arrives (which is posted
// again for the outer loop). `filter` may take a message before it is dispatched.
void RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(MSG&)>& filter = nullptr);

// The busy mark in the navigation bar, while the program is blocked in a network call; it
// shows at once.
void SetBusy(bool busy);

// Shows a popup (a menu, a combo box's open list) without taking the foreground, gives it the
// keys and runs it modally until `done`; the keys then go back where they were. Returns false
// when the popup was destroyed meanwhile.
bool RunPopupWindow(HWND popup, const std::function<bool()>& done);

// Draws the whole screen into the grid.
void Render(CellGrid& grid);

// Answers WM_GETTEXT: copies `text` into the caller's buffer of `capacity` units, cut to
// capacity - 1; returns the characters copied.
LRESULT CopyTextOut(std::u16string_view text, WPARAM capacity, LPARAM buffer);

// Text conversions for the screens.
std::u16string StripMnemonic(std::u16string_view text, char16_t* mnemonic = nullptr);

}  // namespace platform::detail
