// Sorting the quote list by a column: each tap on a header reverses the order its last tap
// gave. Only the list's order changes; the portfolio keeps its own. Rows are reached through
// their item data (the portfolio row number).
#pragma once

#include "platform/win_types.h"

// The quote columns, the holdings' four and the row number's.
inline constexpr int kSortableColumns = 24;
// Per column position, flipped by each tap on it; lives for the run, rebuilds included.
extern bool sortReversed[kSortableColumns];

// Flips the position's sortReversed, then sorts `list` by the column at that position; its
// header shows the direction (descending on the first tap, as the order reads).
void SortQuoteList(HWND list, int position);
// No column marked as sorted: the list shows the portfolio's own order.
void ClearSortMarks(HWND list);

// The list's comparison of two portfolio rows for the column at `position`: its base order
// (text columns by code units, Exch by the suffix shown, the others by their key: numbers,
// dates, times of day, sizes; ascending), reversed while the position's sortReversed is set; a
// cell without a key ("N/A", "*") after every other in both directions. 0 for a position with
// no field (the row number's).
int CompareQuoteRows(LPARAM a, LPARAM b, LPARAM position);

// 0 when equal, +1 when `first` is the greater, -1 otherwise: number columns go ascending.
int CompareNumbers(double first, double second);
