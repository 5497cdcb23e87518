// The command table: every menu, menu-bar, accelerator and navigation-bar command of the
// MainWindow, by its number.
#pragma once

#include "platform/win_types.h"

// Runs the command in the low word of wParam; unknown commands (the menu-bar drop-down
// buttons among them) go to the default window procedure.
LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Deactivates the window for the shell, then closes it: WM_DESTROY ends the program.
void CloseMainWindow(HWND window);
