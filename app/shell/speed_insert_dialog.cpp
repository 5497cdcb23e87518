#include "shell/speed_insert_dialog.h"

#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/aygshell/shell.h"
#include "platform/comctl32/control_wrappers.h"
#include "resources/dialog_templates.h"

namespace {

constexpr const char16_t* kCaption = u"Validation Error";

// The last insertion's message about symbols that did not fit; the dialog's own table.
char16_t leftOut[kLeftOutMessageCapacity] = {};

void NoteLeftOut(const char16_t* token) {
    if (IsEmptyText(leftOut)) {
        SetText(leftOut, u"The portfolio holds 200 symbols; not added: ");
    } else {
        AddText(leftOut, u", ");
    }
    AddText(leftOut, token);
}

bool IsSeparator(char16_t c) {
    return c == u',' || c == u' ';
}

// The characters a symbol list may hold: "," to "{", "$" and the space.
bool Allowed(char16_t c) {
    return (c >= 44 && c <= 123) || c == u'$' || c == u' ';
}

INT_PTR OnInitDialog(HWND dialog) {
    SHSipPreference(dialog, SIP_UP);
    const platform::EditCtrl edit(GetDlgItem(dialog, IDC_SYMBOLS_EDIT));
    edit.LimitText(kSymbolsLimit - 1);
    const platform::ComboBoxCtrl combo(GetDlgItem(dialog, IDC_EXCHANGE_COMBO));
    for (int i = 0; i < kExchangeCount; ++i) {
        combo.SetItemData(combo.AddString(ExchangeTable[i].name), i);
    }
    SetWindowTextW(dialog, u"Speed Insert");
    combo.SetCurSel(0);
    // The dialog is for typing symbols: the caret starts in their box, the exchange one
    // Shift+Tab away (letters typed into the list would pick an exchange by its name).
    SetFocus(edit.handle());
    edit.SetSel(0, 0);
    return 0;  // the focus is set here
}

// A rejected list: the message, and the caret back at the start; the dialog stays open.
INT_PTR Reject(HWND dialog, const char16_t* text) {
    MessageBoxW(dialog, text, kCaption, MB_OK);
    platform::EditCtrl(GetDlgItem(dialog, IDC_SYMBOLS_EDIT)).SetSel(0, 0);
    return 0;
}

INT_PTR OnOk(HWND dialog) {
    char16_t text[kSymbolsLimit] = {};
    GetDlgItemTextW(dialog, IDC_SYMBOLS_EDIT, text, kSymbolsLimit);
    if (IsEmptyText(text)) return Reject(dialog, u"A Stock symbol must be entered");
    for (const char16_t* c = text; *c; ++c) {
        if (!Allowed(*c)) return Reject(dialog, u"Invalid character in symbol list");
    }
    char16_t tooLong[kTooLongMessageCapacity] = {};
    if (FindTooLongSymbol(text, tooLong)) return Reject(dialog, tooLong);
    const platform::ComboBoxCtrl combo(GetDlgItem(dialog, IDC_EXCHANGE_COMBO));
    const LPARAM index = combo.GetItemData(combo.GetCurSel());
    const int exchange = index >= 0 && index < kExchangeCount ? static_cast<int>(index) : 0;
    const char16_t code[2] = {ExchangeTable[exchange].code, 0};
    InsertSymbols(text, code);
    EndDialog(dialog, IDOK);
    return 0;
}

INT_PTR OnCancel(HWND dialog) {
    EndDialog(dialog, IDCANCEL);
    return 1;
}

INT_PTR OnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDOK: return OnOk(dialog);
        case IDCANCEL: return OnCancel(dialog);
        default: return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

}  // namespace

void InsertSymbols(const char16_t* text, const char16_t* code) {
    ClearText(leftOut);
    std::size_t pos = 0;
    const std::size_t length = TextLength(text);
    while (pos < length && pos < static_cast<std::size_t>(kSymbolsLimit)) {
        // Separators before a token are dropped: ",MSFT" and "MSFT, GOOG" hold no token made
        // of a separator, which no quote server knows and the list would show blank.
        while (pos < length && IsSeparator(text[pos])) ++pos;
        if (pos >= length) return;
        char16_t token[kTokenWidth] = {};
        std::size_t n = 0;
        while (pos < length && !IsSeparator(text[pos]) && n < kTokenWidth - 1) {
            // Stored with a dot, the reply's symbol would read as a suffix: class shares
            // such as BRK.B are BRK-B, as the data file's reader makes them too.
            token[n++] = text[pos] == u'.' ? u'-' : text[pos];
            ++pos;
        }
        ++pos;  // the separator, or the first character beyond the 9, is passed over
        if (FindQuoteRow(token, code) == kNoRow && AppendQuoteRow(token, code) == kNoRow) {
            NoteLeftOut(token);
        }
    }
}

bool FindTooLongSymbol(const char16_t* text, char16_t (&message)[kTooLongMessageCapacity]) {
    const char16_t* start = text;
    for (const char16_t* c = text;; ++c) {
        if (*c && !IsSeparator(*c)) continue;
        const auto length = static_cast<std::size_t>(c - start);
        if (length > kTokenWidth - 1) {
            SetText(message, u"Symbol too long: ");
            char16_t token[kSymbolsLimit] = {};
            SetTextN(token, start, length);
            AddText(message, token);
            AddText(message, u" (9 characters at most)");
            return true;
        }
        if (!*c) return false;
        start = c + 1;
    }
}

const char16_t* LeftOutMessage() {
    return leftOut;
}

INT_PTR SpeedInsertDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog(dialog);
        case WM_COMMAND: return OnCommand(dialog, message, wParam, lParam);
        default: return 0;
    }
}
