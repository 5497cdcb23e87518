#include "shell/holding_dialog.h"

#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/holding_figures.h"
#include "model/holdings.h"
#include "model/holdings_file.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/message_box.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "shell/app_state.h"

namespace {

constexpr const char16_t* kCaption = u"Validation Error";
constexpr const char16_t* kWriteFailed = u"Could not write the holdings file";
constexpr std::size_t kRowTextWidth = 48;
constexpr int kRemoveDialog = 3;  // EndDialog code of Remove

// The row the dialog is open for; the symbol and code are copied in case the row moves.
QuoteRecord editedRow = {};

// What was there before a change, put back when the file cannot be written.
struct Previous {
    bool had = false;
    Holding holding = {};
};

Previous Remember() {
    Previous p;
    if (const Holding* h = FindHolding(editedRow.symbol, editedRow.exchangeCode)) {
        p.had = true;
        p.holding = *h;
    }
    return p;
}

void PutBack(const Previous& p) {
    if (p.had) {
        SetHolding(editedRow.symbol, editedRow.exchangeCode, p.holding.shares, p.holding.pricePaid);
    } else {
        RemoveHolding(editedRow.symbol, editedRow.exchangeCode);
    }
}

// The box's text without the spaces around it.
template <std::size_t W>
void ReadBox(HWND dialog, int id, char16_t (&out)[W]) {
    char16_t text[W] = {};
    GetDlgItemTextW(dialog, id, text, W);
    const char16_t* begin = text;
    while (*begin == u' ') ++begin;
    std::size_t length = TextLength(begin);
    while (length > 0 && begin[length - 1] == u' ') --length;
    SetTextN(out, begin, length);
}

INT_PTR Reject(HWND dialog, int box, const char16_t* text) {
    MessageBoxW(dialog, text, kCaption, MB_OK);
    SetFocus(GetDlgItem(dialog, box));
    return 0;
}

void ShowRow(HWND dialog) {
    char16_t text[kRowTextWidth] = {};
    SetText(text, u"Symbol: ");
    AddText(text, editedRow.symbol);
    AddText(text, u"   Exch: ");
    AddText(text, SuffixForCode(editedRow.exchangeCode));
    SetDlgItemTextW(dialog, IDC_HOLDING_ROW, text);
    char16_t unit[kRowTextWidth] = {};
    SetText(unit, u"(");
    AddText(unit, CurrencyOfExchange(editedRow.exchangeCode).quoteUnit);
    AddText(unit, u" a share)");
    SetDlgItemTextW(dialog, IDC_HOLDING_UNIT, unit);
}

INT_PTR OnInitDialog(HWND dialog) {
    ShowRow(dialog);
    for (int id : {IDC_HOLDING_SHARES, IDC_HOLDING_PRICE})
        platform::EditCtrl(GetDlgItem(dialog, id)).LimitText(kHoldingNumberWidth - 1);
    if (const Holding* h = FindHolding(editedRow.symbol, editedRow.exchangeCode)) {
        SetDlgItemTextW(dialog, IDC_HOLDING_SHARES, h->shares);
        SetDlgItemTextW(dialog, IDC_HOLDING_PRICE, h->pricePaid);
    } else {
        DestroyWindow(GetDlgItem(dialog, IDC_HOLDING_REMOVE));  // nothing to remove
    }
    SetFocus(GetDlgItem(dialog, IDC_HOLDING_SHARES));
    return 0;  // the focus is set here
}

// Saves the table as it is now; on failure puts `previous` back and says so.
bool Save(HWND dialog, const Previous& previous) {
    if (SaveHoldingsFile()) return true;
    PutBack(previous);
    MessageBoxW(dialog, kWriteFailed, u"Error", MB_OK);
    return false;
}

INT_PTR OnOk(HWND dialog) {
    char16_t shares[kHoldingNumberWidth] = {};
    char16_t price[kHoldingNumberWidth] = {};
    ReadBox(dialog, IDC_HOLDING_SHARES, shares);
    ReadBox(dialog, IDC_HOLDING_PRICE, price);
    if (!IsValidShares(shares))
        return Reject(dialog, IDC_HOLDING_SHARES,
                      u"Shares: a number above 0, with at most 6 decimals (such as 12.5)");
    if (!IsValidPricePaid(price))
        return Reject(dialog, IDC_HOLDING_PRICE,
                      u"Price paid: a number of 0 or more (such as 101.25), or nothing");
    const Previous previous = Remember();
    if (!SetHolding(editedRow.symbol, editedRow.exchangeCode, shares, price)) {
        MessageBoxW(dialog, u"The holdings file holds 400 lines; there is no room for this one",
                    u"Error", MB_OK);
        return 0;
    }
    if (Save(dialog, previous)) EndDialog(dialog, IDOK);
    return 0;
}

INT_PTR OnRemove(HWND dialog) {
    const Previous previous = Remember();
    RemoveHolding(editedRow.symbol, editedRow.exchangeCode);
    if (Save(dialog, previous)) EndDialog(dialog, kRemoveDialog);
    return 0;
}

INT_PTR OnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDOK: return OnOk(dialog);
        case IDC_HOLDING_REMOVE: return OnRemove(dialog);
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return 1;
        default: return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

}  // namespace

bool EditHolding(HWND owner, int row) {
    if (!RowInUse(row)) return false;
    if (HoldingsFileUnread()) {
        MessageBoxW(owner,
                    u"The holdings file could not be read at start; holdings cannot be changed "
                    u"until the viewer is started again",
                    u"Error", MB_OK);
        return false;
    }
    editedRow = Portfolio[row];
    const INT_PTR result =
        DialogBoxW(appInstance, MAKEINTRESOURCEW(IDD_HOLDING), owner, HoldingDialogProc);
    return result == IDOK || result == kRemoveDialog;
}

INT_PTR HoldingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog(dialog);
        case WM_COMMAND: return OnCommand(dialog, message, wParam, lParam);
        default: return 0;
    }
}

bool DropHoldingOfDeletedRow(const char16_t* symbol, const char16_t* code) {
    if (FindQuoteRow(symbol, code) != kNoRow || !FindHolding(symbol, code)) return true;
    RemoveHolding(symbol, code);
    if (SaveHoldingsFile()) return true;
    MessageBoxW(mainWindow, kWriteFailed, u"Error", MB_OK);
    return false;
}
