// The writers of the tags with values (quote_tags.cpp's table holds them): trading figures in
// tags_trading.cpp, what companies report in tags_reports.cpp.
#pragma once

#include "protocol/quote_tags.h"

namespace quotes::tags {

// Trading: the price, the day, the year, volumes, averages, the book and the listing.
bool Symbol(std::string& out, const TagContext& c);
bool Name(std::string& out, const TagContext& c);
bool LastTrade(std::string& out, const TagContext& c);
bool LastTradeWithTime(std::string& out, const TagContext& c);
bool PreviousClose(std::string& out, const TagContext& c);
bool Open(std::string& out, const TagContext& c);
bool Change(std::string& out, const TagContext& c);
bool ChangePercent(std::string& out, const TagContext& c);
bool ChangeAndPercent(std::string& out, const TagContext& c);
bool DayLow(std::string& out, const TagContext& c);
bool DayHigh(std::string& out, const TagContext& c);
bool DayRange(std::string& out, const TagContext& c);
bool YearLow(std::string& out, const TagContext& c);
bool YearHigh(std::string& out, const TagContext& c);
bool YearRange(std::string& out, const TagContext& c);
bool FromYearLow(std::string& out, const TagContext& c);
bool FromYearLowPercent(std::string& out, const TagContext& c);
bool FromYearHigh(std::string& out, const TagContext& c);
bool FromYearHighPercent(std::string& out, const TagContext& c);
bool Average50(std::string& out, const TagContext& c);
bool Average200(std::string& out, const TagContext& c);
bool FromAverage200(std::string& out, const TagContext& c);
bool FromAverage200Percent(std::string& out, const TagContext& c);
bool FromAverage50(std::string& out, const TagContext& c);
bool FromAverage50Percent(std::string& out, const TagContext& c);
bool Volume(std::string& out, const TagContext& c);
bool AverageVolume(std::string& out, const TagContext& c);
bool BidSize(std::string& out, const TagContext& c);
bool AskSize(std::string& out, const TagContext& c);
bool LastTradeSize(std::string& out, const TagContext& c);
bool Bid(std::string& out, const TagContext& c);
bool Ask(std::string& out, const TagContext& c);
bool TradeDate(std::string& out, const TagContext& c);
bool TradeTime(std::string& out, const TagContext& c);
bool Exchange(std::string& out, const TagContext& c);
bool Currency(std::string& out, const TagContext& c);
bool KnownSymbol(std::string& out, const TagContext& c);

// Reports: earnings and ratios, size, dividends, estimates.
bool EarningsPerShare(std::string& out, const TagContext& c);
bool PriceEarnings(std::string& out, const TagContext& c);
bool MarketCap(std::string& out, const TagContext& c);
bool SharesOutstanding(std::string& out, const TagContext& c);
bool FloatShares(std::string& out, const TagContext& c);
bool Revenue(std::string& out, const TagContext& c);
bool Ebitda(std::string& out, const TagContext& c);
bool BookValue(std::string& out, const TagContext& c);
bool PriceSales(std::string& out, const TagContext& c);
bool PriceBook(std::string& out, const TagContext& c);
bool Dividend(std::string& out, const TagContext& c);
bool DividendYield(std::string& out, const TagContext& c);
bool ExDividendDate(std::string& out, const TagContext& c);
bool DividendPayDate(std::string& out, const TagContext& c);
bool EstimateThisYear(std::string& out, const TagContext& c);
bool EstimateNextYear(std::string& out, const TagContext& c);
bool EstimateNextQuarter(std::string& out, const TagContext& c);
bool PriceEstimateThisYear(std::string& out, const TagContext& c);
bool PriceEstimateNextYear(std::string& out, const TagContext& c);
bool PriceEarningsGrowth(std::string& out, const TagContext& c);
bool ShortRatio(std::string& out, const TagContext& c);
bool YearTarget(std::string& out, const TagContext& c);

}  // namespace quotes::tags
