// The data file that keeps the portfolio between runs: "/PIVData/PIVData.PIV", UTF-16LE with
// a byte-order mark, one record of 19 comma-separated fields ended by "#" per row in use, "*"
// for an empty field, no line breaks. An empty portfolio is an empty file.
#pragma once

#include <cstddef>

#include "model/quote_record.h"
#include "platform/win_types.h"

// Where the file lives, and how much of it the reader looks at (a file the viewer writes is at
// most 83,202 bytes).
struct PortfolioFile {
    static constexpr const char16_t* kDirectory = u"/PIVData";
    static constexpr const char16_t* kPath = u"/PIVData/PIVData.PIV";
    static constexpr std::size_t kReadLimit = 1024 * 1024;
};

enum class PortfolioFileMode {
    replace,  // new content replaces the file's once it is complete
    load,     // opens the file, creating an empty one when missing
};

// Opens the data file exclusively; INVALID_HANDLE_VALUE when it cannot be opened. The plain
// form says nothing; OpenPortfolioFile shows "Could not open the quote file".
HANDLE OpenPortfolioFileHandle(PortfolioFileMode mode);
HANDLE OpenPortfolioFile(PortfolioFileMode mode);

// Writes the whole portfolio at the handle's position and flushes it to disk. When any step
// fails it shows "Could not write the quote file", takes back what it wrote, and returns 0.
// It also refuses, with that message, while the file on disk is one this run could not read.
int SavePortfolio(HANDLE file);

// Whether the file on disk may be replaced by the portfolio in memory. A start whose load
// could not read the file (held by another program, no memory) runs with an empty table;
// saving that table would throw away the user's whole list, so saves leave the file alone
// until a load has read it.
void SetPortfolioFileUnread(bool unread);
bool PortfolioFileUnread();

// The longest record: 19 fields of at most 208 characters with separators and end mark.
inline constexpr std::size_t kPortfolioRecordCapacity = 256;
// One row's record as the file holds it, in the file's field order, "*" for an empty field
// and "#" at its end; returns its length.
std::size_t FormatPortfolioRecord(const QuoteRecord& record,
                                  char16_t (&out)[kPortfolioRecordCapacity]);

// Fills rows from row 0 on with the records of the file. Returns 0 only when memory for the
// content cannot be had ("Not enough memory").
int LoadPortfolio(HANDLE file);

// The file's records read from UTF-16 units (the byte-order mark already skipped) into the
// portfolio from row 0 on; returns the number of rows filled. Records cut short, empty
// symbols and junk after the last "#" fill no row.
int ParsePortfolioRecords(const char16_t* units, std::size_t count);
