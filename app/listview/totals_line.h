// The totals line under the quote list, above the menu bar: what the held rows are worth, a
// row of text per currency (value, day gain, total gain, with their percentages), and how
// many held rows had no price to count. It is there only while some row has a holding; the
// list then ends that many rows higher.
#pragma once

#include "platform/win_types.h"

inline constexpr int kTotalsLineFirstId = 5;  // children 5 to 7 of the MainWindow
inline constexpr int kTotalsLineRows = 3;

// Works the totals out again, writes them and lays the list and the line out anew.
void UpdateTotalsLine(HWND mainWindow);
// Puts the list (under a command bar, if the window has one) and the totals line below it in
// the MainWindow's client area.
void LayOutQuoteArea(HWND mainWindow);
