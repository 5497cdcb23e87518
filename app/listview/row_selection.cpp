#include "listview/row_selection.h"

#include "listview/quote_columns.h"
#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/menus.h"
#include "resources/resource_ids.h"
#include "shell/app_state.h"

int selectedIndex = 0;
char16_t selectedSymbol[kSelectedSymbolWidth] = {};
char16_t selectedSuffix[kSelectedSuffixWidth] = {};

namespace {

constexpr int kFallbackX = 100;
constexpr int kRowPixels = 13;

int FocusedPosition(const platform::ListViewCtrl& list) {
    const int count = list.GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (list.GetItemState(i, LVIS_FOCUSED)) return i;
    }
    return 0;
}

// The portfolio row the item at `position` shows, through its RowIndexColumn text, or kNoRow
// when that text names no row in use.
int RowShownAt(const platform::ListViewCtrl& list, int position) {
    char16_t text[RowIndexColumn::kTextWidth] = {};
    list.GetItemText(position, visibleColumnCount, text, RowIndexColumn::kTextWidth);
    if (!(text[0] >= u'0' && text[0] <= u'9')) return kNoRow;
    int row = 0;
    for (const char16_t* c = text; *c >= u'0' && *c <= u'9' && row < kPortfolioRows; ++c)
        row = row * 10 + (*c - u'0');
    return row < kPortfolioRows && RowInUse(row) ? row : kNoRow;
}

// The suffix of the selected row's exchange: the "Exch" cell when that column shows, else
// through its portfolio row.
void ReadSelectedSuffix(const platform::ListViewCtrl& list) {
    char16_t suffix[kSelectedSuffixLimit] = {};
    if (columnFlags[ColumnFlag::exchange]) {
        list.GetItemText(selectedIndex, 1, suffix, kSelectedSuffixLimit);
    } else if (const int row = RowShownAt(list, selectedIndex); row != kNoRow) {
        SetText(suffix, SuffixForCode(Portfolio[row].exchangeCode));
    }
    SetText(selectedSuffix, suffix);
}

// Where the menu opens: at the tap; opened by a key, at x 100 and the row's place in its page.
POINT MenuPoint(HWND mainWindow, const platform::ListViewCtrl& list) {
    POINT point = {0, 0};
    // The tap is known on the screen; the menu is placed in the window's client area.
    if (GetCursorPos(&point) && ScreenToClient(mainWindow, &point)) return point;
    const int perPage = list.GetCountPerPage();
    return {kFallbackX, perPage > 0 ? kRowPixels * (selectedIndex % perPage) : 0};
}

}  // namespace

void SelectTappedRow(HWND mainWindow) {
    const platform::ListViewCtrl list(quoteListView);
    selectedIndex = FocusedPosition(list);
    // With no item at the position (an empty list), both texts come back empty.
    list.GetItemText(selectedIndex, 0, selectedSymbol, kSelectedSymbolWidth);
    if (list.GetItemCount() == 0) ClearText(selectedSymbol);
    ReadSelectedSuffix(list);
    ShowRowMenu(mainWindow, MenuPoint(mainWindow, list));
}

void ShowRowMenu(HWND mainWindow, POINT point) {
    const HMENU menu = LoadMenuW(appInstance, MAKEINTRESOURCEW(IDR_ROW_MENU));
    if (!menu) return;
    const HMENU popup = GetSubMenu(menu, 0);
    ClientToScreen(mainWindow, &point);
    TrackPopupMenu(popup, 0, point.x, point.y, 0, mainWindow, nullptr);
    DestroyMenu(menu);
}

int SelectedPortfolioRow() {
    return RowShownAt(platform::ListViewCtrl(quoteListView), selectedIndex);
}

void DeleteSelectedQuoteRow() {
    const int row = SelectedPortfolioRow();
    if (row != kNoRow) DeleteQuoteRow(row);
}
