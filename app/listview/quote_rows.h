// The portfolio written into the quote list, one item per row in portfolio order, and the
// title line: the time of the refresh and the number of rows.
#pragma once

#include "platform/kernel32/clock.h"
#include "platform/win_types.h"

enum class FillMode {
    insert,         // a new list: the items are inserted
    updateInPlace,  // the list as it is: each position is rewritten from its portfolio row
};

// The rows written by the last fill; shown in the title line.
extern int quoteRowCount;

// Writes every row in use into `list` (item data and the RowIndexColumn: the row's number),
// then the totals line of the holdings and the title line with the local time.
void FillQuoteRows(HWND list, FillMode mode);

// "PIV- 9:05( 7)": the hour and minute of `time` and quoteRowCount, as the MainWindow's
// navigation-bar title.
void UpdateTitleLine(const SYSTEMTIME& time);

// The row icon for a change text: 0 (green) with a "+", else 1 (red) with a "-", else 2 (blue)
// for an unsigned number ("0.00"); I_IMAGENONE for a text without a digit ("N/A", "*", "").
int RowIconFor(const char16_t* change);
