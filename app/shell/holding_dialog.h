// The Holding dialog of a row (dialog 140): its shares and the price paid for one, entered,
// changed or removed; every change is saved to the holdings file before the dialog ends.
#pragma once

#include "platform/user32/dialogs.h"

// Runs the dialog for portfolio row `row`; true when the holding changed.
bool EditHolding(HWND owner, int row);

INT_PTR HoldingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A deleted row's holding goes with it (unless the row is still listed once more); the file
// is rewritten. False when it could not be, and the user has been told.
bool DropHoldingOfDeletedRow(const char16_t* symbol, const char16_t* code);
