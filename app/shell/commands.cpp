#include "shell/commands.h"

#include "listview/quote_columns.h"
#include "listview/quote_rows.h"
#include "listview/row_selection.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/aygshell/shell.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/message_box.h"
#include "platform/user32/message_loop.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "shell/app_state.h"
#include "shell/holding_dialog.h"
#include "shell/main_window.h"
#include "shell/proxy_dialog.h"
#include "shell/quote_options_dialog.h"
#include "shell/refresh_dialog.h"
#include "shell/speed_insert_dialog.h"
#include "shell/web_pages.h"

namespace {

struct Command {
    WORD id;
    void (*run)(HWND window);
};

void Close(HWND window) {
    CloseMainWindow(window);
}

void Refresh(HWND) {
    RefreshIfNotEmpty();
}

// Asks first; the list is built anew before the file is saved and the rows written into it.
// The row's holding goes with it.
void DeleteRow(HWND window) {
    if (MessageBoxW(window, u"Delete the selected row?", u"Information", MB_OKCANCEL) != IDOK)
        return;
    const int row = SelectedPortfolioRow();
    const QuoteRecord deleted = row != kNoRow ? Portfolio[row] : QuoteRecord{};
    DeleteSelectedQuoteRow();
    if (row != kNoRow) DropHoldingOfDeletedRow(deleted.symbol, deleted.exchangeCode);
    DestroyWindow(quoteListView);
    quoteListView = CreateQuoteList(window);
    SavePortfolioToFile();
    FillQuoteRows(quoteListView, FillMode::insert);
}

// Every dialog runs from the program's template, owned by the MainWindow.
INT_PTR RunDialog(HWND window, UINT id, DLGPROC proc) {
    return DialogBoxW(appInstance, MAKEINTRESOURCEW(id), window, proc);
}

// Added rows are saved and shown, also when none was added. The dialog ends with OK even when
// the full portfolio had no room for some symbols; the user is then told which.
void SpeedInsert(HWND window) {
    const INT_PTR result = RunDialog(window, IDD_SPEED_INSERT, SpeedInsertDialogProc);
    SHSipPreference(window, SIP_DOWN);
    if (result != IDOK) return;
    SavePortfolioToFile();
    RebuildQuoteList(window);
    if (!IsEmptyText(LeftOutMessage())) {
        MessageBoxW(window, LeftOutMessage(), u"Information", MB_OK);
    }
}

void QuoteOptions(HWND window) {
    if (RunDialog(window, IDD_QUOTE_OPTIONS, QuoteOptionsDialogProc) == IDC_APPLY)
        RebuildQuoteList(window);
}

void RefreshSettings(HWND window) {
    RunDialog(window, IDD_INTERNET_REFRESH, InternetRefreshDialogProc);
    SHSipPreference(window, SIP_DOWN);
}

void ProxyServer(HWND window) {
    RunDialog(window, IDD_SET_PROXY, SetProxyDialogProc);
    SHSipPreference(window, SIP_DOWN);
}

void About(HWND window) {
    RunDialog(window, IDD_ABOUT, AboutDialogProc);
}

void Chart(HWND) {
    OpenChartPage();
}

void News(HWND) {
    OpenNewsPage();
}

void Help(HWND) {
    OpenHelp();
}

void MakerPage(HWND) {
    OpenMakerPage();
}

void MarketSummary(HWND) {
    OpenMarketSummary();
}

// The tapped row's holding; its columns and the totals line follow at once.
void EditRowHolding(HWND window) {
    if (EditHolding(window, SelectedPortfolioRow())) RebuildQuoteList(window);
}

const Command kCommands[] = {
    {IDM_CLOSE, Close},
    {IDM_ABOUT, About},
    {IDM_REFRESH, Refresh},
    {IDM_QUOTE_OPTIONS, QuoteOptions},
    {IDM_ROW_DELETE, DeleteRow},
    {IDM_ROW_INSERT, SpeedInsert},
    {IDM_REFRESH_SETTINGS, RefreshSettings},
    {IDM_ROW_CHART, Chart},
    {IDM_HELP, Help},
    {IDM_MAKER_PAGE, MakerPage},
    {IDM_INSERT, SpeedInsert},
    {IDM_ROW_NEWS, News},
    {IDM_USE_PROXY, ProxyServer},
    {IDM_MARKET_SUMMARY, MarketSummary},
    {IDM_CHART, Chart},
    {IDM_NEWS, News},
    {IDM_ROW_HOLDING, EditRowHolding},
};

}  // namespace

void CloseMainWindow(HWND window) {
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    SendMessageW(window, WM_CLOSE, 0, 0);
}

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    for (const Command& command : kCommands) {
        if (command.id != id) continue;
        command.run(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
