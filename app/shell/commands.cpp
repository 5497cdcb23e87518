#include "shell/commands.h"

#include "listview/quote_columns.h"
#include "listview/quote_rows.h"
#include "listview/row_selection.h"
#include "platform/user32/message_box.h"
#include "platform/user32/message_loop.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"

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
void DeleteRow(HWND window) {
    if (MessageBoxW(window, u"Delete the selected row?", u"Information", MB_OKCANCEL) != IDOK)
        return;
    DeleteSelectedQuoteRow();
    DestroyWindow(quoteListView);
    quoteListView = CreateQuoteList(window);
    SavePortfolioToFile();
    FillQuoteRows(quoteListView, FillMode::insert);
}

const Command kCommands[] = {
    {IDM_CLOSE, Close},
    {IDM_REFRESH, Refresh},
    {IDM_ROW_DELETE, DeleteRow},
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
