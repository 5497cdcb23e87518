// The program's start: one copy only, the MainWindow, the message loop.
#pragma once

#include "platform/win_types.h"

// Returns the exit code: 0 on every path.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

// Makes the shell menu bar of the window from menu-bar resource 102; none (after the message
// "Could not create menubar") when the shell cannot.
HWND CreateMainMenuBar(HWND window);
