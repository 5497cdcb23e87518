#include "protocol/quote_tags.h"

#include <array>

#include "sim/tag_writers.h"

namespace quotes {
namespace {

constexpr TagForm kText = TagForm::text;
constexpr TagForm kNumber = TagForm::number;
constexpr TagForm kDate = TagForm::date;

using namespace tags;

// The protocol's list of tags. Those without a writer are the realtime and portfolio ones,
// which the service left N/A.
constexpr std::array kTags = {
    TagInfo{"a", kNumber, Ask},
    TagInfo{"a2", kNumber, AverageVolume},
    TagInfo{"a5", kNumber, AskSize},
    TagInfo{"b", kNumber, Bid},
    TagInfo{"b2", kNumber, nullptr},
    TagInfo{"b3", kNumber, nullptr},
    TagInfo{"b4", kNumber, BookValue},
    TagInfo{"b6", kNumber, BidSize},
    TagInfo{"c", kText, ChangeAndPercent},
    TagInfo{"c1", kNumber, Change},
    TagInfo{"c3", kNumber, nullptr},
    TagInfo{"c4", kText, Currency},
    TagInfo{"c6", kText, nullptr},
    TagInfo{"c8", kText, nullptr},
    TagInfo{"d", kNumber, Dividend},
    TagInfo{"d1", kText, TradeDate},
    TagInfo{"d2", kText, nullptr},
    TagInfo{"e", kNumber, EarningsPerShare},
    TagInfo{"e1", kText, KnownSymbol},
    TagInfo{"e7", kNumber, EstimateThisYear},
    TagInfo{"e8", kNumber, EstimateNextYear},
    TagInfo{"e9", kNumber, EstimateNextQuarter},
    TagInfo{"f6", kNumber, FloatShares},
    TagInfo{"g", kNumber, DayLow},
    TagInfo{"h", kNumber, DayHigh},
    TagInfo{"j", kNumber, YearLow},
    TagInfo{"k", kNumber, YearHigh},
    TagInfo{"g1", kNumber, nullptr},
    TagInfo{"g3", kNumber, nullptr},
    TagInfo{"g4", kNumber, nullptr},
    TagInfo{"g5", kText, nullptr},
    TagInfo{"g6", kText, nullptr},
    TagInfo{"i", kText, nullptr},
    TagInfo{"i5", kText, nullptr},
    TagInfo{"j1", kNumber, MarketCap},
    TagInfo{"j2", kNumber, SharesOutstanding},
    TagInfo{"j3", kNumber, nullptr},
    TagInfo{"j4", kNumber, Ebitda},
    TagInfo{"j5", kNumber, FromYearLow},
    TagInfo{"j6", kNumber, FromYearLowPercent},
    TagInfo{"k1", kText, nullptr},
    TagInfo{"k2", kText, nullptr},
    TagInfo{"k3", kNumber, LastTradeSize},
    TagInfo{"k4", kNumber, FromYearHigh},
    TagInfo{"k5", kNumber, FromYearHighPercent},
    TagInfo{"l", kText, LastTradeWithTime},
    TagInfo{"l1", kNumber, LastTrade},
    TagInfo{"l2", kNumber, nullptr},
    TagInfo{"l3", kNumber, nullptr},
    TagInfo{"m", kText, DayRange},
    TagInfo{"m2", kText, nullptr},
    TagInfo{"m3", kNumber, Average50},
    TagInfo{"m4", kNumber, Average200},
    TagInfo{"m5", kNumber, FromAverage200},
    TagInfo{"m6", kNumber, FromAverage200Percent},
    TagInfo{"m7", kNumber, FromAverage50},
    TagInfo{"m8", kNumber, FromAverage50Percent},
    TagInfo{"n", kText, Name},
    TagInfo{"n4", kText, nullptr},
    TagInfo{"o", kNumber, Open},
    TagInfo{"p", kNumber, PreviousClose},
    TagInfo{"p1", kNumber, nullptr},
    TagInfo{"p2", kText, ChangePercent},
    TagInfo{"p5", kNumber, PriceSales},
    TagInfo{"p6", kNumber, PriceBook},
    TagInfo{"q", kDate, ExDividendDate},
    TagInfo{"r", kNumber, PriceEarnings},
    TagInfo{"r1", kDate, DividendPayDate},
    TagInfo{"r2", kNumber, nullptr},
    TagInfo{"r5", kNumber, PriceEarningsGrowth},
    TagInfo{"r6", kNumber, PriceEstimateThisYear},
    TagInfo{"r7", kNumber, PriceEstimateNextYear},
    TagInfo{"s", kText, Symbol},
    TagInfo{"s1", kNumber, nullptr},
    TagInfo{"s6", kNumber, Revenue},
    TagInfo{"s7", kNumber, ShortRatio},
    TagInfo{"t1", kText, TradeTime},
    TagInfo{"t6", kText, nullptr},
    TagInfo{"t7", kText, nullptr},
    TagInfo{"t8", kNumber, YearTarget},
    TagInfo{"v", kNumber, Volume},
    TagInfo{"v1", kNumber, nullptr},
    TagInfo{"v7", kNumber, nullptr},
    TagInfo{"w", kText, YearRange},
    TagInfo{"w1", kText, nullptr},
    TagInfo{"w4", kText, nullptr},
    TagInfo{"x", kText, Exchange},
    TagInfo{"y", kNumber, DividendYield},
};

}  // namespace

const TagInfo* FindTag(std::string_view name) {
    // Every name is a letter, or a letter and a digit: one slot for each such pair, filled once.
    constexpr std::size_t kSlots = 128 * 128;
    static const std::array<const TagInfo*, kSlots> byName = [] {
        std::array<const TagInfo*, kSlots> slots{};
        for (const TagInfo& tag : kTags) {
            const std::size_t second = tag.name.size() > 1 ? tag.name[1] : 0;
            slots[static_cast<std::size_t>(tag.name[0]) * 128 + second] = &tag;
        }
        return slots;
    }();
    if (name.empty() || name.size() > 2) return nullptr;
    const auto first = static_cast<unsigned char>(name[0]);
    const auto second = name.size() > 1 ? static_cast<unsigned char>(name[1]) : 0u;
    if (first >= 128 || second >= 128) return nullptr;
    const TagInfo* tag = byName[first * 128 + second];
    return tag && tag->name == name ? tag : nullptr;
}

const TagInfo* AllTags(int& count) {
    count = static_cast<int>(kTags.size());
    return kTags.data();
}

}  // namespace quotes
