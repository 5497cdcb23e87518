// The terminal device: ncursesw for the screen, the key decoder for the input. The only file
// that knows curses.
#pragma once

#include <memory>

#include "host/device.h"

namespace platform::detail {

// Puts the terminal in the viewer's mode; null (with a message) when there is no terminal.
// The terminal is restored when the device goes, and on signals and crashes.
std::unique_ptr<Device> OpenTerminalDevice();
// True once OpenTerminalDevice refused (no terminal, or one that cannot address its cursor):
// the program then ends with 1, so a script sees the failure.
bool TerminalRefused();

}  // namespace platform::detail
