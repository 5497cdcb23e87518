// The optional columns of the quote list, in the list's column order, and the names of the
// on/off settings that choose them.
#pragma once

inline constexpr int kColumnFlagCount = 17;

enum class ColumnFlag {
    exchange,
    lastPrice,
    change,
    pctChange,
    volume,
    prevClose,
    eps,
    lastTrdDate,
    lastTrdTime,
    per,
    marketCap,
    highPrice,
    lowPrice,
    yearHigh,
    yearLow,
    sharesOut,
    coName,
};

extern const char16_t* const ColumnFlagNames[kColumnFlagCount];

// The in-memory copies: true for each optional column the list was last built with.
struct ColumnFlags {
    bool shown[kColumnFlagCount];
    bool operator[](ColumnFlag flag) const { return shown[static_cast<int>(flag)]; }
};
