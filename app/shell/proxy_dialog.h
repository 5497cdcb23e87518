// Set Proxy Server (dialog 132): the proxy's host (without "HTTP://"), its port and whether to
// use it, shown from the in-memory ProxySettings; Apply stores each value and replaces the
// in-memory copies, so the next download goes through them. Ends with 1018 or 1019.
#pragma once

#include "platform/user32/dialogs.h"

INT_PTR SetProxyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
