// Turns the device's input into messages: keys to the window that takes keys (F1 to F9 and
// Alt with a letter first to the foreground window's menu bar), taps and the wheel to the
// window under them, resizes and the low-memory notice.
#pragma once

#include "host/device.h"

namespace platform::detail {

void DeliverInput(const InputEvent& event);

}  // namespace platform::detail
