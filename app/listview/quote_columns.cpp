#include "listview/quote_columns.h"

#include "listview/holding_columns.h"
#include "platform/aygshell/shell.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/resources.h"
#include "resources/resource_ids.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"

HWND quoteListView = nullptr;
HWND quoteListOwner = nullptr;
ColumnFlags columnFlags = {};
int visibleColumnCount = 0;

const QuoteColumn kSymbolColumn = {u"Symbol", 70, LVCFMT_LEFT, QuoteField::symbol,
                                   CompareKind::text};

// In ColumnFlag order. "Exch" shows the suffix of the row's exchange and sorts by it.
const QuoteColumn kOptionalColumns[kOptionalColumnCount] = {
    {u"Exch", 45, LVCFMT_LEFT, QuoteField::exchangeCode, CompareKind::exchange},
    {u"Last $", 55, LVCFMT_RIGHT, QuoteField::lastPrice, CompareKind::number},
    {u"Change", 60, LVCFMT_RIGHT, QuoteField::change, CompareKind::number},
    {u"% Chg", 60, LVCFMT_RIGHT, QuoteField::pctChange, CompareKind::number},
    {u"Volume", 75, LVCFMT_RIGHT, QuoteField::volume, CompareKind::number},
    {u"Prev Close", 65, LVCFMT_RIGHT, QuoteField::prevClose, CompareKind::number},
    {u"EPS", 65, LVCFMT_RIGHT, QuoteField::eps, CompareKind::number},
    {u"Last Trd Date", 65, LVCFMT_RIGHT, QuoteField::lastTradeDate, CompareKind::date},
    {u"Trade Time", 65, LVCFMT_RIGHT, QuoteField::lastTradeTime, CompareKind::time},
    {u"PER", 65, LVCFMT_RIGHT, QuoteField::peRatio, CompareKind::number},
    {u"Market Cap", 75, LVCFMT_RIGHT, QuoteField::marketCap, CompareKind::size},
    {u"High", 50, LVCFMT_RIGHT, QuoteField::dayHigh, CompareKind::number},
    {u"Low", 50, LVCFMT_RIGHT, QuoteField::dayLow, CompareKind::number},
    {u"Yr High", 60, LVCFMT_RIGHT, QuoteField::yearHigh, CompareKind::number},
    {u"Yr Low", 60, LVCFMT_RIGHT, QuoteField::yearLow, CompareKind::number},
    {u"Shares Out", 95, LVCFMT_RIGHT, QuoteField::sharesOut, CompareKind::size},
    {u"Company Name", 120, LVCFMT_LEFT, QuoteField::companyName, CompareKind::text},
};

namespace {

constexpr DWORD kSipInfoSize = 48;
constexpr int kIconSize = 16;

// The size the soft input panel leaves: its visible desktop, 2 pixels taller when the panel
// is up and docked, else 24 shorter. Without an answer, the MainWindow's client area.
SIZE ListSize(HWND mainWindow) {
    SIPINFO sip = {};
    sip.cbSize = kSipInfoSize;
    if (!SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0)) {
        RECT client = {};
        GetClientRect(mainWindow, &client);
        return {client.right - client.left, client.bottom - client.top};
    }
    const RECT& desktop = sip.rcVisibleDesktop;
    const bool docked = (sip.fdwFlags & SIPF_ON) && (sip.fdwFlags & SIPF_DOCKED);
    return {desktop.right - desktop.left, desktop.bottom - desktop.top + (docked ? 2 : -24)};
}

void InsertColumns(const platform::ListViewCtrl& list) {
    int position = 0;
    list.InsertColumn(position, kSymbolColumn.title, kSymbolColumn.format, kSymbolColumn.width,
                      position);
    ++position;
    for (int i = 0; i < kOptionalColumnCount; ++i) {
        columnFlags.shown[i] = false;
    }
    for (int i = 0; i < kOptionalColumnCount; ++i) {
        if (!ReadSettingFlag(ColumnFlagNames[i])) continue;
        const QuoteColumn& c = kOptionalColumns[i];
        // A column that fails to insert still takes its position.
        list.InsertColumn(position, c.title, c.format, c.width, position);
        columnFlags.shown[i] = true;
        ++position;
    }
    position = InsertHoldingColumns(list, position);
    list.InsertColumn(position, RowIndexColumn::kTitle, LVCFMT_LEFT, 0, position);
    visibleColumnCount = position;
}

// Green for a rise, red for a fall, blue for no change: icons 126, 128 and 127, in that order.
void AttachRowIcons(const platform::ListViewCtrl& list) {
    const HIMAGELIST images = ImageList_Create(kIconSize, kIconSize, ILC_COLORDDB | ILC_MASK, 1, 0);
    if (!images) return;
    for (UINT id : {IDI_PRICE_UP, IDI_PRICE_DOWN, IDI_PRICE_SAME}) {
        const HICON icon =
            LoadImageW(appInstance, MAKEINTRESOURCEW(id), IMAGE_ICON, kIconSize, kIconSize, 0);
        ImageList_AddIcon(images, icon);
        DestroyIcon(icon);
    }
    list.SetImageList(images, LVSIL_SMALL);
}

}  // namespace

HWND CreateQuoteList(HWND mainWindow) {
    quoteListOwner = mainWindow;
    const SIZE size = ListSize(mainWindow);
    SetWindowPos(mainWindow, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    quoteListView = CreateWindowExW(
        0, WC_LISTVIEWW, u"", QuoteListView::kStyle, 0, 0, size.cx, size.cy, mainWindow,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(QuoteListView::kControlId)), appInstance,
        nullptr);
    if (!IsWindow(quoteListView)) {
        quoteListView = nullptr;
        DestroyWindow(mainWindow);
        return nullptr;
    }
    const platform::ListViewCtrl list(quoteListView);
    InsertColumns(list);
    AttachRowIcons(list);
    list.SetExtendedListViewStyle(QuoteListView::kExtendedStyle, 0);
    return quoteListView;
}

const QuoteColumn* OptionalColumnAt(int position) {
    int at = 0;
    for (int i = 0; i < kOptionalColumnCount; ++i) {
        if (!columnFlags.shown[i]) continue;
        if (++at == position) return &kOptionalColumns[i];
    }
    return nullptr;
}
