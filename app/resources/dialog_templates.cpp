#include "resources/dialog_templates.h"

#include "platform/user32/dialogs.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = kChild | WS_TABSTOP;
constexpr DWORD kPush = kTab | BS_PUSHBUTTON;
constexpr DWORD kDefault = kTab | BS_DEFPUSHBUTTON;
constexpr DWORD kCheck = kTab | BS_AUTOCHECKBOX;
constexpr DWORD kLabel = kChild | SS_LEFT;
constexpr DWORD kFont = DS_SETFONT;
// Caption with system menu / without, both with a modal frame.
constexpr DWORD kWithMenu = kFont | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kNoMenu = kFont | DS_MODALFRAME | WS_POPUP | WS_CAPTION;

const DialogItemResource kAboutItems[] = {
    {IDC_STATIC, u"STATIC", u"Tickwell\rVers. 3.3 Build 20061202.1", 7, 7, 117, 31,
     kChild | SS_LEFT | SS_SUNKEN | WS_BORDER},
};

// The right column stands 4 units further right than the handheld's (66), and the dialog is 8
// wider (131): in a terminal's cells "[x] Last Trd Dt" ran into "[x] Last Trd Time".
const DialogItemResource kQuoteOptionsItems[] = {
    {IDC_STATIC, u"STATIC", u"Select the columns to display:", 7, 7, 96, 8, kLabel},
    {1001, u"BUTTON", u"Exchange", 7, 17, 47, 10, kCheck},
    {1006, u"BUTTON", u"Last Price", 7, 27, 47, 10, kCheck},
    {1007, u"BUTTON", u"Change", 7, 37, 41, 10, kCheck},
    {1008, u"BUTTON", u"Pct Change", 7, 47, 53, 10, kCheck},
    {1009, u"BUTTON", u"Volume", 7, 57, 39, 10, kCheck},
    {1002, u"BUTTON", u"Prev Close", 7, 67, 50, 10, kCheck},
    {1003, u"BUTTON", u"EPS", 7, 77, 28, 10, kCheck},
    {1004, u"BUTTON", u"P/E Ratio", 7, 87, 45, 10, kCheck},
    {1005, u"BUTTON", u"Last Trd Dt", 7, 97, 51, 10, kCheck},
    {1012, u"BUTTON", u"High Price", 70, 27, 47, 10, kCheck},
    {1013, u"BUTTON", u"Low Price", 70, 37, 46, 10, kCheck},
    {1014, u"BUTTON", u"Year High", 70, 47, 47, 10, kCheck},
    {1015, u"BUTTON", u"Year Low", 70, 57, 45, 10, kCheck},
    {1017, u"BUTTON", u"Name", 70, 67, 34, 10, kCheck},
    {1016, u"BUTTON", u"Shares Out", 70, 77, 52, 10, kCheck},
    {1020, u"BUTTON", u"Market Cap", 70, 87, 53, 10, kCheck},
    {1010, u"BUTTON", u"Last Trd Time", 70, 97, 59, 10, kCheck},
    {IDC_APPLY, u"BUTTON", u"&Apply", 17, 112, 45, 14, kPush},
    {IDC_CANCEL_OPTIONS, u"BUTTON", u"&Cancel", 75, 112, 44, 14, kPush},
};

const DialogItemResource kSpeedInsertItems[] = {
    {IDC_EXCHANGE_COMBO, u"COMBOBOX", u"", 24, 8, 112, 57, kTab | CBS_DROPDOWNLIST | WS_VSCROLL,
     WS_EX_CLIENTEDGE},
    {IDC_STATIC, u"STATIC", u"Exch:", 2, 12, 19, 8, kLabel},
    {IDC_STATIC, u"STATIC",
     u"Select Exchange and enter a comma separated list of symbols for that exchange "
     u"e.g.MSFT,GOOG,YHOO,EBAY",
     2, 27, 133, 28, kLabel},
    {IDC_SYMBOLS_EDIT, u"EDIT", u"", 2, 59, 133, 14,
     kTab | ES_AUTOHSCROLL | ES_UPPERCASE | WS_BORDER, WS_EX_CLIENTEDGE},
    {IDOK, u"BUTTON", u"OK", 67, 81, 31, 14, kDefault},
    {IDCANCEL, u"BUTTON", u"Cancel", 104, 81, 31, 14, kPush},
};

const DialogItemResource kInternetRefreshItems[] = {
    {IDC_STATIC, u"STATIC", u"Refresh every", 6, 7, 47, 8, kLabel},
    {IDC_REFRESH_MINUTES, u"EDIT", u"", 24, 21, 32, 14, kTab | ES_NUMBER | ES_RIGHT | WS_BORDER,
     WS_EX_CLIENTEDGE},
    {IDC_REFRESH_SPIN, u"msctls_updown32", u"", 57, 21, 19, 15,
     kChild | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS},
    {IDC_STATIC, u"STATIC", u"minutes", 75, 27, 26, 8, kLabel},
    {IDC_APPLY, u"BUTTON", u"&Apply", 6, 61, 45, 14, kDefault},
    {IDC_CANCEL_OPTIONS, u"BUTTON", u"&Cancel", 65, 61, 44, 14, kPush},
};

const DialogItemResource kSetProxyItems[] = {
    {IDC_USE_PROXY, u"BUTTON", u"Use Proxy Server", 6, 7, 72, 10, kCheck},
    {IDC_STATIC, u"STATIC", u"Proxy Server Name:", 6, 18, 66, 8, kLabel},
    {IDC_STATIC, u"STATIC", u"(do not enter HTTP://)", 8, 28, 91, 10, kLabel},
    {IDC_PROXY_SERVER, u"EDIT", u"", 6, 41, 106, 14, kTab | WS_BORDER, WS_EX_CLIENTEDGE},
    {IDC_STATIC, u"STATIC", u"Port:", 6, 60, 17, 8, kLabel},
    {IDC_PROXY_PORT, u"EDIT", u"", 24, 57, 40, 14, kTab | ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER},
    {IDC_APPLY, u"BUTTON", u"&Apply", 6, 77, 45, 14, kDefault},
    {IDC_CANCEL_OPTIONS, u"BUTTON", u"&Cancel", 65, 77, 44, 14, kPush},
};

// The row's symbol and exchange, its shares and the price paid (in the quote's own unit,
// which the line under it names); Remove only while the row has a holding.
const DialogItemResource kHoldingItems[] = {
    {IDC_HOLDING_ROW, u"STATIC", u"", 6, 8, 112, 8, kLabel},
    {IDC_STATIC, u"STATIC", u"Shares:", 6, 22, 40, 8, kLabel},
    {IDC_HOLDING_SHARES, u"EDIT", u"", 56, 19, 62, 14, kTab | ES_AUTOHSCROLL | WS_BORDER,
     WS_EX_CLIENTEDGE},
    {IDC_STATIC, u"STATIC", u"Price paid:", 6, 38, 44, 8, kLabel},
    {IDC_HOLDING_PRICE, u"EDIT", u"", 56, 35, 62, 14, kTab | ES_AUTOHSCROLL | WS_BORDER,
     WS_EX_CLIENTEDGE},
    {IDC_HOLDING_UNIT, u"STATIC", u"", 56, 48, 62, 8, kLabel},
    {IDOK, u"BUTTON", u"&OK", 6, 64, 32, 14, kDefault},
    {IDC_HOLDING_REMOVE, u"BUTTON", u"&Remove", 42, 64, 40, 14, kPush},
    {IDCANCEL, u"BUTTON", u"&Cancel", 86, 64, 32, 14, kPush},
};

const DialogResource kDialogs[] = {
    {IDD_ABOUT, u"About", 0, 0, 131, 46, kWithMenu, WS_EX_CAPTIONOKBTN, u"System", 8, kAboutItems},
    {IDD_QUOTE_OPTIONS, u"Quote Options", 0, 0, 139, 130, kNoMenu, WS_EX_CLIENTEDGE, u"System", 8,
     kQuoteOptionsItems},
    {IDD_SPEED_INSERT, u"Insert Stock", 0, 0, 139, 102, kWithMenu, 0, u"System", 8,
     kSpeedInsertItems},
    {IDD_INTERNET_REFRESH, u"Internet Refresh ", 0, 0, 119, 81, kNoMenu, WS_EX_CLIENTEDGE,
     u"System", 8, kInternetRefreshItems},
    {IDD_SET_PROXY, u"Set Proxy Server", 0, 0, 119, 97, kNoMenu, WS_EX_CLIENTEDGE, u"System", 8,
     kSetProxyItems},
    {IDD_HOLDING, u"Holding", 0, 0, 124, 72, kNoMenu, WS_EX_CLIENTEDGE, u"System", 8,
     kHoldingItems},
};

}  // namespace

std::span<const DialogResource> DialogTemplates() {
    return kDialogs;
}
