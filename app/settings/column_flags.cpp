#include "settings/column_flags.h"

const char16_t* const ColumnFlagNames[kColumnFlagCount] = {
    u"Exchange", u"LastPrice",   u"Change",      u"PctChange", u"Volume",    u"PrevClose",
    u"EPS",      u"LastTrdDate", u"LastTrdTime", u"PER",       u"MarketCap", u"HighPrice",
    u"LowPrice", u"YearHigh",    u"YearLow",     u"SharesOut", u"CoName",
};
