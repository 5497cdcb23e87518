// Quote Options (dialog 104): one check box per optional column of the quote list; Apply
// stores all 17 settings and ends with 1018, Cancel ends with 1019 and stores nothing.
#pragma once

#include "platform/user32/dialogs.h"

INT_PTR QuoteOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
