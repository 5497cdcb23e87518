// One refresh of the whole portfolio from the quote server: a session, one connection, one GET
// per batch of 50 rows, each reply's lines into the portfolio; then the data file rewritten,
// the list refreshed and the title set. Blocks the thread from its start to its end.
#pragma once

// The quote server: the host of the historical CSV quote service, on port 80.
inline constexpr const char16_t* kQuoteServerHost = u"download.finance.yahoo.com";
inline constexpr const char16_t* kQuoteAgent = u"IE6";

// 1 when the file was rewritten and the list refreshed; 0 after a failure, once its message
// (caption "Error", no owner) has been shown, and 0 at once when a download is already
// running (a timer tick delivered by one of its message boxes). Rows that earlier batches
// updated stay changed in memory after a later failure; the next download saves them.
int DownloadQuotes();
