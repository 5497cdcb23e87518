// The MainWindow's procedure: a switch that hands each message to a short handler, and the
// command table.
#pragma once

#include "platform/user32/window.h"

// The automatic refresh: window timer 1324 of the MainWindow, started only by the Internet
// Refresh dialog; off after every start.
struct RefreshTimer {
    static constexpr UINT_PTR kId = 1324;
};

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys the list and builds it anew, filled in insert mode.
void RebuildQuoteList(HWND window);
// Rewrites the data file from the portfolio.
void SavePortfolioToFile();
// A refresh, when the portfolio has a row; nothing otherwise.
void RefreshIfNotEmpty();
