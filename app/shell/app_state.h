// Process-wide values of the shell, set during start-up.
#pragma once

#include "platform/win_types.h"

// The program module: every template, menu, icon and string loads from it.
extern HINSTANCE appInstance;
// The MainWindow; none while it is being created, so messages raised then have no owner.
extern HWND mainWindow;
// The menu bar at the bottom of the screen; none when it could not be made.
extern HWND menuBarWindow;

inline constexpr int kTextBufferCapacity = 100;
