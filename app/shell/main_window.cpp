#include "shell/main_window.h"

#include "listview/quote_columns.h"
#include "listview/quote_list_notify.h"
#include "listview/quote_rows.h"
#include "listview/totals_line.h"
#include "model/holdings_file.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "model/startup_load.h"
#include "platform/aygshell/shell.h"
#include "platform/kernel32/files.h"
#include "platform/user32/message_loop.h"
#include "quotes/download_session.h"
#include "shell/app_state.h"
#include "shell/commands.h"
#include "shell/win_main.h"

namespace {

constexpr DWORD kActivateInfoSize = 12;

// Handed unchanged to the shell's activation and setting-change handlers.
SHACTIVATEINFO activateInfo = {};

LRESULT OnCreate(HWND window) {
    activateInfo = {};
    activateInfo.cbSize = kActivateInfoSize;
    menuBarWindow = CreateMainMenuBar(window);
    CreateDirectoryW(PortfolioFile::kDirectory, nullptr);  // there already: the normal case
    LoadPortfolioAtStartup();
    LoadHoldingsFile();  // an unreadable one says so; the viewer runs without holdings
    quoteListView = CreateQuoteList(window);
    FillQuoteRows(quoteListView, FillMode::insert);
    return 0;
}

LRESULT OnDestroy(HWND window) {
    KillTimer(window, RefreshTimer::kId);
    if (menuBarWindow) DestroyWindow(menuBarWindow);
    menuBarWindow = nullptr;
    PostQuitMessage(0);
    return 0;
}

// The list fills the client area under a command bar, if the window had one (child 4), and
// above the totals line, while there is one.
LRESULT OnSize(HWND window) {
    quoteListView = GetDlgItem(window, QuoteListView::kControlId);
    LayOutQuoteArea(window);
    return 0;
}

LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam) {
    SHHandleWMActivate(window, wParam, lParam, &activateInfo, 0);
    return 0;
}

LRESULT OnSettingChange(HWND window, WPARAM wParam, LPARAM lParam) {
    SHHandleWMSettingChange(window, wParam, lParam, &activateInfo);
    return 0;
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint = {};
    BeginPaint(window, &paint);
    EndPaint(window, &paint);  // the list covers the client area
    return 0;
}

LRESULT OnTimer() {
    RefreshIfNotEmpty();
    return 0;
}

// Memory runs low: a viewer in the background closes; in front, it stays.
LRESULT OnHibernate(HWND window) {
    if (GetForegroundWindow() != window) CloseMainWindow(window);
    return 0;
}

}  // namespace

void RebuildQuoteList(HWND window) {
    DestroyWindow(quoteListView);
    quoteListView = CreateQuoteList(window);
    FillQuoteRows(quoteListView, FillMode::insert);
}

void SavePortfolioToFile() {
    const HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
    if (file == INVALID_HANDLE_VALUE) return;  // it said so
    SavePortfolio(file);
    CloseHandle(file);
}

void RefreshIfNotEmpty() {
    if (RowInUse(0)) DownloadQuotes();
}

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(window);
        case WM_DESTROY: return OnDestroy(window);
        case WM_SIZE: return OnSize(window);
        case WM_ACTIVATE: return OnActivate(window, wParam, lParam);
        case WM_SETTINGCHANGE: return OnSettingChange(window, wParam, lParam);
        case WM_PAINT: return OnPaint(window);
        case WM_NOTIFY: return OnQuoteListNotify(window, message, wParam, lParam);
        case WM_COMMAND: return OnCommand(window, message, wParam, lParam);
        case WM_TIMER: return OnTimer();
        case WM_HIBERNATE: return OnHibernate(window);
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}
