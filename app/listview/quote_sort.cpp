#include "listview/quote_sort.h"

#include <charconv>

#include "listview/holding_columns.h"
#include "listview/quote_columns.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"

bool sortReversed[kSortableColumns] = {};

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The column a position shows in the list built last: "Symbol" at 0, then the present
// optional columns; null past them.
const QuoteColumn* ColumnAt(int position) {
    if (position == 0) return &kSymbolColumn;
    return OptionalColumnAt(position);
}

const QuoteRecord* RowOf(LPARAM row) {
    return row >= 0 && row < kPortfolioRows ? &Portfolio[row] : nullptr;
}

int BaseOrder(const QuoteColumn& column, const QuoteRecord& a, const QuoteRecord& b) {
    const char16_t* x = FieldText(a, column.field);
    const char16_t* y = FieldText(b, column.field);
    if (column.kind == CompareKind::text) return CompareText(x, y);
    return CompareNumbers(LeadingNumber(x), LeadingNumber(y));
}

}  // namespace

double LeadingNumber(const char16_t* text) {
    std::size_t i = 0;
    while (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r' ||
           text[i] == u'\v' || text[i] == u'\f')
        ++i;
    char number[64];
    std::size_t n = 0;
    const auto take = [&](char16_t c) {
        if (n + 1 < sizeof number) number[n++] = static_cast<char>(c);
        ++i;
    };
    if (text[i] == u'+' || text[i] == u'-') take(text[i]);
    bool digits = false;
    while (IsDigit(text[i])) take(text[i]), digits = true;
    if (text[i] == u'.') {
        take(text[i]);
        while (IsDigit(text[i])) take(text[i]), digits = true;
    }
    if (!digits) return 0;
    // An exponent counts only when digits follow it.
    const std::size_t e = i;
    if (text[e] == u'e' || text[e] == u'E') {
        std::size_t d = e + 1;
        if (text[d] == u'+' || text[d] == u'-') ++d;
        if (IsDigit(text[d])) {
            while (i < d) take(text[i]);
            while (IsDigit(text[i])) take(text[i]);
        }
    }
    const char* begin = number[0] == '+' ? number + 1 : number;
    double value = 0;
    std::from_chars(begin, number + n, value);  // out of range: 0
    return value;
}

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
    const int base = BaseOrder(*column, *x, *y);
    return reversed ? -base : base;
}

void SortQuoteList(HWND list, int position) {
    if (position < 0 || position >= kSortableColumns) return;
    sortReversed[position] = !sortReversed[position];
    platform::ListViewCtrl(list).SortItems(CompareQuoteRows, position);
}
