// Turns the device's input into messages: keys to the window that takes keys, taps to the
// window under them, the navigation bar's ok button, the menu-bar keys, resizes and the
// low-memory notice.
#pragma once

#include "host/device.h"

namespace platform::detail {

void DeliverInput(const InputEvent& event);

// The menu bar of a top-level window, if it has one (the shell keeps them).
HWND MenuBarOf(HWND window);
void SetMenuBarOf(HWND window, HWND bar);

}  // namespace platform::detail
