// The shape the three option dialogs share (Quote Options, Internet Refresh, Set Proxy
// Server): their start, then "&Apply" (1018), which does the dialog's work and ends it with
// 1018, and "&Cancel" (1019), which ends it with 1019 and changes nothing. Any other command
// goes to the default window procedure; every other message returns 0.
#pragma once

#include "platform/user32/dialogs.h"

struct OptionDialog {
    void (*start)(HWND dialog);
    void (*apply)(HWND dialog);
    // Whether what the dialog holds may be applied; false (having said why) keeps it open.
    bool (*accepts)(HWND dialog) = nullptr;
};

INT_PTR RunOptionDialog(const OptionDialog& options, HWND dialog, UINT message, WPARAM wParam,
                        LPARAM lParam);
