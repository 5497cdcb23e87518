// The thread's message queue and loop. There is one thread and one queue; modal loops
// (dialogs, message boxes, popup menus) are nested loops on it, and every loop delivers due
// timers.
#pragma once

#include "platform/user32/window.h"

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Waits for the next message (any window): posted messages first, then due timers, then
// input. Returns 0 for WM_QUIT.
BOOL GetMessageW(MSG* msg, HWND window, UINT first, UINT last);
// Takes a message if one is there without waiting (PM_REMOVE) or only looks (PM_NOREMOVE).
inline constexpr UINT PM_NOREMOVE = 0;
inline constexpr UINT PM_REMOVE = 1;
BOOL PeekMessageW(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
// Turns key messages into character messages for printable keys.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
void PostQuitMessage(int exitCode);
// WM_CLOSE destroys the window; everything else answers 0.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Timers: each period ends in one WM_TIMER to the window; at most one is pending per timer.
// Setting a running timer again restarts its period.
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);

// Accelerators.
struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FNOINVERT = 0x02;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
// A key message that matches the table becomes WM_COMMAND (high word 1) to `window`.
int TranslateAcceleratorW(HWND window, HACCEL table, MSG* msg);

// Milliseconds since the device started; the device's clock.
DWORD GetTickCount();
