// Internet Refresh (dialog 111): the period of the RefreshTimer in minutes, 0 to 999; 0 (or
// no digits) stops it. Nothing of it is stored: after a restart no automatic refresh runs.
// Apply ends with 1018, Cancel with 1019 and the timer as it was.
#pragma once

#include "platform/user32/dialogs.h"

inline constexpr int kRefreshMinutesLimit = 999;
inline constexpr UINT kMillisecondsPerMinute = 60000;

INT_PTR InternetRefreshDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
