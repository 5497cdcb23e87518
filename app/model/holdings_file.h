// The holdings file "/PIVData/holdings.csv": UTF-8, a header line, then one line a holding:
// symbol, exchange code, shares, price paid (empty when not given), comma-separated, a field
// with a comma or a double quote in double quotes. It is written whole at every change, as
// the data file is: staged, flushed and renamed into place.
#pragma once

#include <cstddef>

#include "model/holdings.h"

struct HoldingsFile {
    static constexpr const char16_t* kPath = u"/PIVData/holdings.csv";
    static constexpr const char* kHeader = "Symbol,Exchange,Shares,Price Paid";
    // Every line the table keeps, at its longest, fits well within.
    static constexpr std::size_t kReadLimit = 256 * 1024;
};

enum class HoldingsLoad {
    none,        // no file yet: no holdings
    read,        // the table holds the file's lines
    unreadable,  // no holdings this run, and the file is never written
};

// Reads the file into the holdings table at start. An unreadable file (held by another
// program, too large, a line too long to keep, more lines than the table holds) says so and
// leaves the table empty; saves then leave the file alone for the rest of the run.
HoldingsLoad LoadHoldingsFile();
bool HoldingsFileUnread();

// The file's bytes into the table (a byte-order mark and the header skipped); false, with the
// table empty, when some line could not be kept as it is.
bool ParseHoldings(const char* bytes, std::size_t count);

// The longest line FormatHoldingLine writes, its line end included.
inline constexpr std::size_t kHoldingLineCapacity = 640;
// One entry of the table as the file's line, "\n" at its end; returns its length.
std::size_t FormatHoldingLine(const Holding& holding, char (&out)[kHoldingLineCapacity]);

// Rewrites the file from the table; false (nothing changed on disk) when it could not, or
// while the file is one this run could not read.
bool SaveHoldingsFile();
