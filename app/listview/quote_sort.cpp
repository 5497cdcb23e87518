#include "listview/quote_sort.h"

#include "listview/holding_columns.h"
#include "listview/quote_columns.h"
#include "listview/sort_keys.h"
#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"

bool sortReversed[kSortableColumns] = {};

namespace {

// The position whose header shows the sort mark, or -1: a rebuilt list has none, and clearing
// an unmarked one costs nothing.
int markedPosition = -1;

// The column a position shows in the list built last: "Symbol" at 0, then the present
// optional columns; null past them.
const QuoteColumn* ColumnAt(int position) {
    if (position == 0) return &kSymbolColumn;
    return OptionalColumnAt(position);
}

const QuoteRecord* RowOf(LPARAM row) {
    return row >= 0 && row < kPortfolioRows ? &Portfolio[row] : nullptr;
}

SortKeyKind KeyKindOf(CompareKind kind) {
    switch (kind) {
        case CompareKind::date: return SortKeyKind::date;
        case CompareKind::time: return SortKeyKind::time;
        case CompareKind::size: return SortKeyKind::size;
        default: return SortKeyKind::number;
    }
}

// Two cells by their keys, reversed when asked; a cell without a key after every cell with
// one, whichever the direction.
int CompareKeys(const QuoteColumn& column, const QuoteRecord& a, const QuoteRecord& b,
                bool reversed) {
    double x = 0, y = 0;
    const bool hasX = ReadSortKey(KeyKindOf(column.kind), FieldText(a, column.field), x);
    const bool hasY = ReadSortKey(KeyKindOf(column.kind), FieldText(b, column.field), y);
    if (!hasX || !hasY) return hasX == hasY ? 0 : (hasX ? -1 : 1);
    const int base = CompareNumbers(x, y);
    return reversed ? -base : base;
}

int CompareCells(const QuoteColumn& column, const QuoteRecord& a, const QuoteRecord& b,
                 bool reversed) {
    int base = 0;
    switch (column.kind) {
        case CompareKind::text:
            base = CompareText(FieldText(a, column.field), FieldText(b, column.field));
            break;
        case CompareKind::exchange:
            base = CompareText(SuffixForCode(a.exchangeCode), SuffixForCode(b.exchangeCode));
            break;
        default: return CompareKeys(column, a, b, reversed);
    }
    return reversed ? -base : base;
}

}  // namespace

int CompareNumbers(double first, double second) {
    if (first == second) return 0;
    return first > second ? 1 : -1;
}

int CompareQuoteRows(LPARAM a, LPARAM b, LPARAM position) {
    const QuoteRecord* x = RowOf(a);
    const QuoteRecord* y = RowOf(b);
    const bool reversed = position >= 0 && position < kSortableColumns && sortReversed[position];
    const int holding = HoldingColumnAt(static_cast<int>(position));
    if (holding >= 0 && x && y) return CompareHoldingRows(holding, *x, *y, reversed);
    const QuoteColumn* column = ColumnAt(static_cast<int>(position));
    if (!column || !x || !y) return 0;  // the row number's column (if widened) keeps the order
    return CompareCells(*column, *x, *y, reversed);
}

void SortQuoteList(HWND list, int position) {
    if (position < 0 || position >= kSortableColumns) return;
    sortReversed[position] = !sortReversed[position];
    const platform::ListViewCtrl view(list);
    view.SortItems(CompareQuoteRows, position);
    // The header says which column the list is sorted by, and which way.
    ClearSortMarks(list);
    view.SetSortMark(position, sortReversed[position] ? HDF_SORTDOWN : HDF_SORTUP);
    markedPosition = position;
}

void ClearSortMarks(HWND list) {
    if (markedPosition < 0) return;
    platform::ListViewCtrl(list).SetSortMark(markedPosition, 0);
    markedPosition = -1;
}
