// What the quote list tells the MainWindow: a tap on a column header sorts the list by that
// column, a tap on a row selects it and opens the row menu.
#pragma once

#include "platform/win_types.h"

// Acts only for the QuoteListView (control id 2); always 0.
LRESULT OnQuoteListNotify(HWND mainWindow, UINT message, WPARAM controlId, LPARAM record);
