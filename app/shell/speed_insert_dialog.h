// Speed Insert (dialog 110): the user picks one of the 50 exchanges and types symbols
// separated by commas or spaces; on OK each symbol not yet in the portfolio for that exchange
// is appended with "*" in its quote fields. Ends with 1 (OK) or 2 (Cancel).
#pragma once

#include <cstddef>

#include "platform/user32/dialogs.h"

inline constexpr int kSymbolsLimit = 100;  // the text's buffer: the box takes the 99 it holds
inline constexpr std::size_t kTokenWidth = 10;

INT_PTR SpeedInsertDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The symbols of a typed text into the portfolio on the exchange of `code`: tokens of at most
// 9 characters (the 10th is passed over), separators at a token's start dropped, a "." stored
// as "-"; a token already there for that exchange, or one the full portfolio has no room for,
// is left out.
void InsertSymbols(const char16_t* text, const char16_t* code);

// The first token of `text` longer than a symbol holds ("Symbol too long: ABCDEFGHIJ (9
// characters at most)") into `message`; false when every token fits. OK refuses such a list
// rather than cut or split the symbol.
inline constexpr std::size_t kTooLongMessageCapacity = kSymbolsLimit + 48;
bool FindTooLongSymbol(const char16_t* text, char16_t (&message)[kTooLongMessageCapacity]);

// The message naming the symbols of the last InsertSymbols that the full portfolio had no room
// for ("The portfolio holds 200 symbols; not added: NEWB"); empty when every one fitted.
inline constexpr std::size_t kLeftOutMessageCapacity = 160;
const char16_t* LeftOutMessage();
