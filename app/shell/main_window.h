// The MainWindow's procedure: a switch that hands each message to a short handler.
#pragma once

#include "platform/user32/window.h"

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
