// The quote list: one report-style list control filling the MainWindow, with a fixed table of
// columns of which the settings choose the optional ones. Present columns take consecutive
// positions in table order; the last, zero-width column holds each row's portfolio number.
#pragma once

#include "model/quote_record.h"
#include "platform/win_types.h"
#include "settings/column_flags.h"

// The list control: child 2 of the MainWindow, rebuilt (never patched) whenever its rows or
// columns change.
struct QuoteListView {
    static constexpr int kControlId = 2;
    static constexpr DWORD kStyle = 0x50300005;    // child, visible, both scroll bars, report,
                                                   // single selection
    static constexpr DWORD kExtendedStyle = 0x30;  // full-row select, header drag and drop
};

// How a column's sort reads its cells: text by code units; the others by their key
// (sort_keys.h): numbers, trade dates, times of day, sizes with their K/M/B factor; the
// exchange by the suffix the cell shows.
enum class CompareKind { text, number, date, time, size, exchange };

struct QuoteColumn {
    const char16_t* title;
    int width;  // pixels
    int format;
    QuoteField field;  // what the cells show and the sort compares
    CompareKind kind;
};

inline constexpr int kOptionalColumnCount = kColumnFlagCount;
// "Symbol", then the optional columns in the order of ColumnFlag.
extern const QuoteColumn kSymbolColumn;
extern const QuoteColumn kOptionalColumns[kOptionalColumnCount];

// The last column: each row's portfolio number as decimal text, width 0.
struct RowIndexColumn {
    static constexpr const char16_t* kTitle = u"i";
    static constexpr std::size_t kTextWidth = 10;  // what its readers take, terminator included
};

// The list built last, and what it was built with: the ColumnFlags copies and the position of
// the RowIndexColumn (the count of the columns before it: the holdings' columns, when the
// list has them, come just before it).
extern HWND quoteListView;
extern HWND quoteListOwner;  // the MainWindow the list was built under
extern ColumnFlags columnFlags;
extern int visibleColumnCount;

// Sizes the MainWindow to the screen the soft input panel leaves, builds the list with its
// columns, row icons and extended styles, and returns it; none (after destroying the MainWindow)
// when the list control cannot be made.
HWND CreateQuoteList(HWND mainWindow);

// The optional column at a list position of the list built last, or null ("Symbol" and the
// RowIndexColumn are not optional).
const QuoteColumn* OptionalColumnAt(int position);
