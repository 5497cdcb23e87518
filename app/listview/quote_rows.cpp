#include "listview/quote_rows.h"

#include "listview/holding_columns.h"
#include "listview/quote_columns.h"
#include "listview/quote_sort.h"
#include "listview/totals_line.h"
#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/aygshell/shell.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/resources.h"

int quoteRowCount = 0;

namespace {

constexpr int kIconUp = 0;
constexpr int kIconDown = 1;
constexpr int kIconSame = 2;
constexpr std::size_t kTitleWidth = 32;

const char16_t* CellText(const QuoteRecord& record, const QuoteColumn& column) {
    // The one-character code is never shown: its exchange's suffix is.
    if (column.field == QuoteField::exchangeCode) return SuffixForCode(record.exchangeCode);
    return FieldText(record, column.field);
}

void WriteRow(const platform::ListViewCtrl& list, int row, FillMode mode) {
    const QuoteRecord& record = Portfolio[row];
    const int icon = RowIconFor(record.change);
    if (mode == FillMode::insert)
        list.InsertItem(row, record.symbol, icon, row);
    else
        list.SetItem(row, record.symbol, icon, row);
    int position = 1;
    for (int i = 0; i < kOptionalColumnCount; ++i) {
        if (!columnFlags.shown[i]) continue;
        list.SetItemText(row, position++, CellText(record, kOptionalColumns[i]));
    }
    WriteHoldingCells(list, row, record);
    char16_t index[RowIndexColumn::kTextWidth];
    SetUnsigned(index, static_cast<unsigned>(row));
    list.SetItemText(row, visibleColumnCount, index);
}

}  // namespace

// A change that is no number ("N/A" for a symbol no source knows or an index without one, "*"
// before the first quote, nothing) gets no mark: the blue one would say "unchanged".
int RowIconFor(const char16_t* change) {
    if (FindChar(change, u'+')) return kIconUp;
    if (FindChar(change, u'-')) return kIconDown;
    for (const char16_t* c = change; *c; ++c) {
        if (*c >= u'0' && *c <= u'9') return kIconSame;
    }
    return I_IMAGENONE;
}

void FillQuoteRows(HWND list, FillMode mode) {
    quoteRowCount = 0;
    const platform::ListViewCtrl view(list);
    ClearSortMarks(list);  // the rows go back to the portfolio's order
    for (int row = 0; row < kPortfolioRows && RowInUse(row); ++row) {
        ++quoteRowCount;
        // In place, a row appended since the list was built has no item yet: it shows from the
        // next rebuild on.
        WriteRow(view, row, mode);
    }
    UpdateTotalsLine(quoteListOwner);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    UpdateTitleLine(now);
}

void UpdateTitleLine(const SYSTEMTIME& time) {
    // "PIV- %1s(%2d)": the time as H:MM, the count at least two wide.
    char16_t title[kTitleWidth];
    char16_t number[16];
    SetText(title, u"PIV- ");
    SetUnsigned(number, time.wHour);
    AddText(title, number);
    AddText(title, time.wMinute < 10 ? u":0" : u":");
    SetUnsigned(number, time.wMinute);
    AddText(title, number);
    AddText(title, u"(");
    if (quoteRowCount >= 0 && quoteRowCount < 10) AddText(title, u" ");
    SetUnsigned(number, static_cast<unsigned>(quoteRowCount < 0 ? 0 : quoteRowCount));
    AddText(title, number);
    AddText(title, u")");
    SHSetNavBarText(quoteListOwner, title);
}
