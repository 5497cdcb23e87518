// The holdings' four columns, "Shares", "Value", "Day Gain" and "Gain": after the last quote
// column and before the RowIndexColumn, in a list built while some row of the portfolio has
// a holding. Without one the list has exactly the quote columns.
#pragma once

#include "model/quote_record.h"
#include "platform/comctl32/control_wrappers.h"

inline constexpr int kHoldingColumnCount = 4;

// The position of "Shares" in the list built last, or -1 when it has no holding columns.
extern int firstHoldingColumn;

// Inserts the four columns at `position` when some row is held; returns the next free one.
int InsertHoldingColumns(const platform::ListViewCtrl& list, int position);
// Writes the holding cells of an item from its row; empty cells for a row without one.
void WriteHoldingCells(const platform::ListViewCtrl& list, int item, const QuoteRecord& row);

// Which holding column (0 to 3) a position shows in the list built last, or -1.
int HoldingColumnAt(int position);
// The sort of a holding column: by the figure, ascending, reversed when asked; rows without
// the figure come after every row with one, whichever way the column sorts.
int CompareHoldingRows(int column, const QuoteRecord& a, const QuoteRecord& b, bool reversed);
