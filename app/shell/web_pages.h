// The pages the viewer hands to other programs: a row's chart and news, the market overview and
// the maker's page in the browser ("iexplore.exe"), the help file in the help viewer
// ("peghelp.exe"). The hosts are named here and nowhere else.
#pragma once

#include <cstddef>

#include "platform/user32/dialogs.h"

struct WebHosts {
    static constexpr const char16_t* kMobileFinance = u"mobile.yahoo.com";  // charts, news
    static constexpr const char16_t* kMarketWatch = u"www.marketwatch.com";
    static constexpr const char16_t* kMaker = u"www.quellmark.com";
};

inline constexpr std::size_t kAddressWidth = 300;
inline constexpr const char16_t* kHelpCommandLine = u"file:PIV.htm#Main_Contents";

// The chart or the news page of the row last tapped; "Please select a row first" (caption
// "Information", owner the MainWindow) when no row was. Both return 1.
int OpenChartPage();
int OpenNewsPage();
void OpenHelp();
void OpenMakerPage();
void OpenMarketSummary();

// The address of the chart (`chart`) or news page of `symbol` on the exchange of `suffix`, in
// `address`; false when no exchange has that suffix. The symbol and suffix are
// percent-encoded, so no symbol can add a query key or cut the address.
bool BuildPageAddress(bool chart, const char16_t* symbol, const char16_t* suffix,
                      char16_t (&address)[kAddressWidth]);

// About (dialog 103): full screen, with a Done button; Done, Enter and Esc end it, with 1.
INT_PTR AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
