#include "shell/web_pages.h"

#include "listview/row_selection.h"
#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "platform/aygshell/shell.h"
#include "platform/kernel32/nls.h"
#include "platform/kernel32/program.h"
#include "shell/app_state.h"

namespace {

constexpr const char16_t* kChartPath = u"/raw?dp=page&pg=finance/quote_chart&s=";
constexpr const char16_t* kNewsPath = u"/raw?dp=news&tn=_";
constexpr const char16_t* kMakerPath = u"/pdapage.htm";
constexpr const char16_t* kOverviewPath = u"/palm/marketwatch/overview.asp";
constexpr DWORD kAboutFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;

bool Unreserved(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

// Appends `text` with every character but the unreserved ones percent-encoded as UTF-8.
void AppendEncoded(char16_t (&address)[kAddressWidth], const char16_t* text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    for (const char16_t* p = text; *p; ++p) {
        if (Unreserved(*p)) {
            const char16_t plain[] = {*p, 0};
            AddText(address, plain);
            continue;
        }
        const bool pair = *p >= 0xD800 && *p <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF;
        char bytes[4] = {};
        const int count =
            WideCharToMultiByte(CP_UTF8, 0, p, pair ? 2 : 1, bytes, sizeof bytes, nullptr, nullptr);
        for (int i = 0; i < count; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            const char16_t encoded[] = {u'%', kHex[byte >> 4], kHex[byte & 0xF], 0};
            AddText(address, encoded);
        }
        if (pair) ++p;
    }
}

void Start(const char16_t* program, const char16_t* commandLine) {
    char16_t line[kAddressWidth];
    SetText(line, commandLine);
    CreateProcessW(program, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr);
}

int OpenRowPage(bool chart) {
    char16_t address[kAddressWidth];
    if (!BuildPageAddress(chart, selectedSymbol, selectedSuffix, address)) {
        MessageBoxW(mainWindow, u"Please select a row first", u"Information", MB_OK);
        return 1;
    }
    Start(u"iexplore.exe", address);
    return 1;
}

// A fixed page, its host and path without a scheme.
void OpenFixedPage(const char16_t* host, const char16_t* path) {
    char16_t address[kAddressWidth];
    SetText(address, host);
    AddText(address, path);
    Start(u"iexplore.exe", address);
}

}  // namespace

bool BuildPageAddress(bool chart, const char16_t* symbol, const char16_t* suffix,
                      char16_t (&address)[kAddressWidth]) {
    SetText(address, u"http://");
    AddText(address, WebHosts::kMobileFinance);
    AddText(address, chart ? kChartPath : kNewsPath);
    // At most four characters of the suffix take part: a longer one names no exchange.
    char16_t compared[kExchangeSuffixWidth + 1] = {};
    SetText(compared, suffix);
    const ExchangeEntry* exchange = FindExchangeBySuffix(compared);
    if (!exchange) return false;
    AppendEncoded(address, symbol);
    if (!TextEquals(compared, u"USA")) {
        AddText(address, u".");
        AppendEncoded(address, exchange->suffix);
    }
    return true;
}

int OpenChartPage() {
    return OpenRowPage(true);
}

int OpenNewsPage() {
    return OpenRowPage(false);
}

void OpenHelp() {
    Start(u"peghelp.exe", kHelpCommandLine);
}

void OpenMakerPage() {
    OpenFixedPage(WebHosts::kMaker, kMakerPath);
}

void OpenMarketSummary() {
    OpenFixedPage(WebHosts::kMarketWatch, kOverviewPath);
}

namespace {

INT_PTR OnAboutInit(HWND dialog) {
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, kAboutFlags};
    SHInitDialog(&info);
    return 1;  // the dialog manager sets the focus
}

// Done (command 1) ends it, and so do Enter and Esc (commands 1 and 2), as they end every
// other dialog; any other command does nothing. It always ends with 1.
INT_PTR OnAboutCommand(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return 0;
    EndDialog(dialog, IDOK);
    return 1;
}

}  // namespace

INT_PTR AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: return OnAboutInit(dialog);
        case WM_COMMAND: return OnAboutCommand(dialog, wParam);
        default: return 0;
    }
}
