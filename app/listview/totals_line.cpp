#include "listview/totals_line.h"

#include <algorithm>

#include "listview/quote_columns.h"
#include "model/fixed_text.h"
#include "model/holding_figures.h"
#include "platform/aygshell/shell.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/window.h"
#include "shell/app_state.h"

namespace {

constexpr int kCommandBarId = 4;
constexpr int kRowPixels = 13;
constexpr int kCellPixels = 6;
constexpr int kListRowsKept = 2;
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;

int shownRows = 0;
char16_t lines[kTotalsLineRows][kTotalsLineWidth] = {};

void NoteLeftOut(int leftOut) {
    char16_t note[kTotalsLineWidth] = {};
    SetUnsigned(note, static_cast<unsigned>(leftOut));
    AddText(note,
            leftOut == 1 ? u" row without a price left out" : u" rows without a price left out");
    if (shownRows == 0) {
        SetText(lines[shownRows++], note);
        return;
    }
    AddText(lines[shownRows - 1], u" \u00B7 ");
    AddText(lines[shownRows - 1], note);
}

// A row per currency; currencies past the last row share it.
void ComposeLines(const HoldingTotals& totals) {
    shownRows = 0;
    if (totals.heldRows == 0) return;
    for (int i = 0; i < totals.currencyCount; ++i) {
        char16_t text[kTotalsLineWidth];
        FormatCurrencyTotal(totals.currencies[i], text);
        if (shownRows < kTotalsLineRows) {
            SetText(lines[shownRows++], text);
        } else {
            AddText(lines[shownRows - 1], u"  |  ");
            AddText(lines[shownRows - 1], text);
        }
    }
    if (totals.leftOut > 0) NoteLeftOut(totals.leftOut);
}

void ShowLines(HWND mainWindow) {
    for (int i = 0; i < kTotalsLineRows; ++i) {
        const int id = kTotalsLineFirstId + i;
        HWND line = GetDlgItem(mainWindow, id);
        if (i >= shownRows) {
            if (line) DestroyWindow(line);
            continue;
        }
        if (!line) {
            line = CreateWindowExW(0, u"STATIC", u"", kLineStyle, 0, 0, 0, 0, mainWindow,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), appInstance,
                                   nullptr);
        }
        SetWindowTextW(line, lines[i]);
    }
}

}  // namespace

void UpdateTotalsLine(HWND mainWindow) {
    if (!IsWindow(mainWindow)) return;
    ComposeLines(TotalHoldings());
    ShowLines(mainWindow);
    LayOutQuoteArea(mainWindow);
}

void LayOutQuoteArea(HWND mainWindow) {
    RECT client = {};
    GetClientRect(mainWindow, &client);
    const int top = client.top + CommandBar_Height(GetDlgItem(mainWindow, kCommandBarId));
    const int width = client.right - client.left;
    // The list keeps its header and a row: on a very small screen the totals give way.
    const int room = (client.bottom - top) / kRowPixels - kListRowsKept;
    const int rows = std::clamp(room, 0, shownRows);
    const int bottom = std::max(top, static_cast<int>(client.bottom) - rows * kRowPixels);
    SetWindowPos(GetDlgItem(mainWindow, QuoteListView::kControlId), nullptr, client.left, top,
                 width, bottom - top, SWP_NOZORDER);
    // A cell in from the left edge, as the menu bar's first label is.
    for (int i = 0; i < shownRows; ++i) {
        const bool fits = i < rows;
        SetWindowPos(GetDlgItem(mainWindow, kTotalsLineFirstId + i), nullptr,
                     client.left + kCellPixels, bottom + i * kRowPixels,
                     fits ? width - kCellPixels : 0, fits ? kRowPixels : 0, SWP_NOZORDER);
    }
}
