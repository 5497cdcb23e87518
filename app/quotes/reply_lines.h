// A quote reply's bytes as QuoteLines: symbol, exchange code and the values, without double
// quotes. Each byte is one UTF-16 unit (Latin-1). Only a line that begins with a double quote
// is a quote line; any other (an error page, a blank line) is passed over.
#pragma once

#include <cstddef>

#include "quotes/quote_line.h"

// Normalises one line (its bytes without the line end) into `line`, cut at 1,023 units:
//   "MSFT",29.12,...      -> MSFT,U,29.12,...
//   "RY.TO",51.20,...     -> RY,T,51.20,...
// A suffix no exchange has leaves the code empty. A comma inside a quoted value is dropped
// ("Amazon.com, Inc." -> Amazon.com Inc.), so that every line keeps one field per tag.
void NormalizeReplyLine(const unsigned char* bytes, std::size_t length, QuoteLine& line);

// Hands every quote line of the reply to ApplyQuoteLine, in reply order. Lines end at CR LF,
// LF or CR. The service ends every line, so a last line without its line end was cut short
// (a failed read, a short Content-Length, more than the buffer holds) and is dropped, `cut` or
// not: no row gets a value cut short. A line holding a NUL byte is no quote line either.
void ApplyReplyLines(const unsigned char* reply, std::size_t count, bool cut);
