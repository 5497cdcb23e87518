// The navigation bar along the top of the screen: the title of the window in front, its ok
// (or Done) button, and the busy mark while the program waits on the network.
#pragma once

#include "platform/win_types.h"

namespace platform::detail {

// Creates the bar, once per screen (the device does it when it starts); its handle.
HWND CreateNavigationBar();

}  // namespace platform::detail
