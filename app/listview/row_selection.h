// The row the user last tapped in the quote list, and the row menu it opens: Insert, Delete,
// News Headlines, Chart, Market Summary, Holding.... The chart and news pages use the symbol and
// suffix; Delete uses the list position, which may show another row after a rebuild or a sort.
#pragma once

#include <cstddef>

#include "platform/win_types.h"

inline constexpr std::size_t kSelectedSymbolWidth = 10;
inline constexpr std::size_t kSelectedSuffixWidth = 12;
inline constexpr std::size_t kSelectedSuffixLimit = 10;  // what any write into it takes

extern int selectedIndex;
extern char16_t selectedSymbol[kSelectedSymbolWidth];
extern char16_t selectedSuffix[kSelectedSuffixWidth];

// Takes the focused row (or position 0) as the selected one and opens the row menu at the tap,
// or, opened by a key, beside the row.
void SelectTappedRow(HWND mainWindow);
// The row menu at a point of the main window's client area.
void ShowRowMenu(HWND mainWindow, POINT point);
// The portfolio row the item at selectedIndex shows, or kNoRow.
int SelectedPortfolioRow();
// Deletes the portfolio row the item at selectedIndex shows; nothing when it shows none.
void DeleteSelectedQuoteRow();
