// Running a program on the device: the terminal screen for users, the headless one for tests.
#pragma once

#include "platform/win_types.h"

struct ResourceTable;

namespace platform {

using WinMainProc = int (*)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

// Registers the program's resources, puts the terminal screen up (the screen is restored on
// every way out), runs `winMain` and returns its exit code.
int RunProgram(const ResourceTable& resources, WinMainProc winMain);

}  // namespace platform
