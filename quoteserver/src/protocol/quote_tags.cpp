#include "protocol/quote_tags.h"

#include <array>

#include "common/number_text.h"
#include "protocol/tag_writers.h"

namespace quotes {
namespace {

constexpr TagForm kText = TagForm::text;
constexpr TagForm kNumber = TagForm::number;
constexpr TagForm kDate = TagForm::date;

using namespace tags;

// "+0.50 - +1.83%"
bool ChangeAndPercent(std::string& o, const TagInput& i) {
    const Figure change = Change(i.values);
    const Figure percent = ChangePercent(i.values);
    if (!change || !percent) return false;
    Signed(o, i.values, change);
    o += " - ";
    return Percent(o, percent);
}

// "4:00pm - <b>27.87</b>"
bool LastTradeWithTime(std::string& o, const TagInput& i) {
    if (!i.values.last || !Time(o, i.values.tradeMinute)) return false;
    o += " - <b>";
    Price(o, i.values, i.values.last);
    o += "</b>";
    return true;
}

bool MarketCap(std::string& o, const TagInput& i) {
    const QuoteValues& v = i.values;
    if (v.marketCap) return BigMoney(o, v.marketCap);
    if (v.last && v.sharesOutstanding) return BigMoney(o, *v.last * *v.sharesOutstanding);
    return false;
}

bool PriceEarnings(std::string& o, const TagInput& i) {
    if (i.values.priceEarnings) return Money(o, i.values.priceEarnings);
    return PriceOver(o, i.values, i.values.eps);
}

// The protocol's list of tags. Those without a writer are the realtime and portfolio ones,
// which the service left N/A.
constexpr std::array kTags = {
    TagInfo{"a", kNumber,
            [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.ask); }},
    TagInfo{"a2", kNumber,
            [](std::string& o, const TagInput& i) { return Count(o, i.values.averageVolume); }},
    TagInfo{"a5", kNumber,
            [](std::string& o, const TagInput& i) { return Count(o, i.values.askSize); }},
    TagInfo{"b", kNumber,
            [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.bid); }},
    TagInfo{"b2", kNumber, nullptr},
    TagInfo{"b3", kNumber, nullptr},
    TagInfo{"b4", kNumber,
            [](std::string& o, const TagInput& i) { return Money(o, i.values.bookValue); }},
    TagInfo{"b6", kNumber,
            [](std::string& o, const TagInput& i) { return Count(o, i.values.bidSize); }},
    TagInfo{"c", kText, ChangeAndPercent},
    TagInfo{
        "c1", kNumber,
        [](std::string& o, const TagInput& i) { return Signed(o, i.values, Change(i.values)); }},
    TagInfo{"c3", kNumber, nullptr},
    TagInfo{"c4", kText,
            [](std::string& o, const TagInput& i) { return Text(o, i.values.currency); }},
    TagInfo{"c6", kText, nullptr},
    TagInfo{"c8", kText, nullptr},
    TagInfo{"d", kNumber,
            [](std::string& o, const TagInput& i) { return Money(o, i.values.dividend); }},
    TagInfo{"d1", kText,
            [](std::string& o, const TagInput& i) { return Date(o, i.values.tradeDate); }},
    TagInfo{"d2", kText, nullptr},
    TagInfo{"e", kNumber, [](std::string& o, const TagInput& i) { return Money(o, i.values.eps); }},
    TagInfo{"e1", kText, [](std::string& o, const TagInput&) { return Text(o, kNotAvailable); }},
    TagInfo{"e7", kNumber,
            [](std::string& o, const TagInput& i) { return Money(o, i.values.epsThisYear); }},
    TagInfo{"e8", kNumber,
            [](std::string& o, const TagInput& i) { return Money(o, i.values.epsNextYear); }},
    TagInfo{"e9", kNumber,
            [](std::string& o, const TagInput& i) { return Money(o, i.values.epsNextQuarter); }},
    TagInfo{"f6", kNumber,
            [](std::string& o, const TagInput& i) { return ShareCount(o, i.values.floatShares); }},
    TagInfo{"g", kNumber,
            [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.dayLow); }},
    TagInfo{"h", kNumber,
            [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.dayHigh); }},
    TagInfo{"j", kNumber,
            [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.yearLow); }},
    TagInfo{
        "k", kNumber,
        [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.yearHigh); }},
    TagInfo{"g1", kNumber, nullptr},
    TagInfo{"g3", kNumber, nullptr},
    TagInfo{"g4", kNumber, nullptr},
    TagInfo{"g5", kText, nullptr},
    TagInfo{"g6", kText, nullptr},
    TagInfo{"i", kText, nullptr},
    TagInfo{"i5", kText, nullptr},
    TagInfo{"j1", kNumber, MarketCap},
    TagInfo{"j2", kNumber,
            [](std::string& o,
               const TagInput& i) { return ShareCount(o, i.values.sharesOutstanding); }},
    TagInfo{"j3", kNumber, nullptr},
    TagInfo{"j4", kNumber,
            [](std::string& o, const TagInput& i) { return BigMoney(o, i.values.ebitda); }},
    TagInfo{
        "j5", kNumber,
        [](std::string& o, const TagInput& i) { return Distance(o, i.values, i.values.yearLow); }},
    TagInfo{"j6", kNumber,
            [](std::string& o,
               const TagInput& i) { return PercentFrom(o, i.values, i.values.yearLow); }},
    TagInfo{"k1", kText, nullptr},
    TagInfo{"k2", kText, nullptr},
    TagInfo{"k3", kNumber,
            [](std::string& o, const TagInput& i) { return Count(o, i.values.lastTradeSize); }},
    TagInfo{"k4", kNumber,
            [](std::string& o,
               const TagInput& i) { return SignedDistance(o, i.values, i.values.yearHigh); }},
    TagInfo{"k5", kNumber,
            [](std::string& o,
               const TagInput& i) { return PercentFrom(o, i.values, i.values.yearHigh); }},
    TagInfo{"l", kText, LastTradeWithTime},
    TagInfo{"l1", kNumber,
            [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.last); }},
    TagInfo{"l2", kNumber, nullptr},
    TagInfo{"l3", kNumber, nullptr},
    TagInfo{
        "m", kText,
        [](std::string& o,
           const TagInput& i) { return Range(o, i.values, i.values.dayLow, i.values.dayHigh); }},
    TagInfo{"m2", kText, nullptr},
    TagInfo{
        "m3", kNumber,
        [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.average50); }},
    TagInfo{
        "m4", kNumber,
        [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.average200); }},
    TagInfo{"m5", kNumber,
            [](std::string& o,
               const TagInput& i) { return Distance(o, i.values, i.values.average200); }},
    TagInfo{"m6", kNumber,
            [](std::string& o,
               const TagInput& i) { return PercentFrom(o, i.values, i.values.average200); }},
    TagInfo{"m7", kNumber,
            [](std::string& o,
               const TagInput& i) { return Distance(o, i.values, i.values.average50); }},
    TagInfo{"m8", kNumber,
            [](std::string& o,
               const TagInput& i) { return PercentFrom(o, i.values, i.values.average50); }},
    TagInfo{"n", kText, [](std::string& o, const TagInput& i) { return Text(o, i.values.name); }},
    TagInfo{"n4", kText, nullptr},
    TagInfo{"o", kNumber,
            [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.open); }},
    TagInfo{"p", kNumber,
            [](std::string& o,
               const TagInput& i) { return Price(o, i.values, i.values.previousClose); }},
    TagInfo{"p1", kNumber, nullptr},
    TagInfo{"p2", kText,
            [](std::string& o, const TagInput& i) { return Percent(o, ChangePercent(i.values)); }},
    TagInfo{"p5", kNumber,
            [](std::string& o,
               const TagInput& i) { return PriceOver(o, i.values, i.values.salesPerShare); }},
    TagInfo{"p6", kNumber,
            [](std::string& o,
               const TagInput& i) { return PriceOver(o, i.values, i.values.bookValue); }},
    TagInfo{"q", kDate,
            [](std::string& o, const TagInput& i) { return Date(o, i.values.exDividendDate); }},
    TagInfo{"r", kNumber, PriceEarnings},
    TagInfo{"r1", kDate,
            [](std::string& o, const TagInput& i) { return Date(o, i.values.dividendPayDate); }},
    TagInfo{"r2", kNumber, nullptr},
    TagInfo{
        "r5", kNumber,
        [](std::string& o, const TagInput& i) { return Money(o, i.values.priceEarningsGrowth); }},
    TagInfo{"r6", kNumber,
            [](std::string& o,
               const TagInput& i) { return PriceOver(o, i.values, i.values.epsThisYear); }},
    TagInfo{"r7", kNumber,
            [](std::string& o,
               const TagInput& i) { return PriceOver(o, i.values, i.values.epsNextYear); }},
    TagInfo{"s", kText, [](std::string& o, const TagInput& i) { return Text(o, i.symbol); }},
    TagInfo{"s1", kNumber, nullptr},
    TagInfo{"s6", kNumber,
            [](std::string& o, const TagInput& i) { return BigMoney(o, i.values.revenue); }},
    TagInfo{"s7", kNumber,
            [](std::string& o, const TagInput& i) { return Money(o, i.values.shortRatio); }},
    TagInfo{"t1", kText,
            [](std::string& o, const TagInput& i) { return Time(o, i.values.tradeMinute); }},
    TagInfo{"t6", kText, nullptr},
    TagInfo{"t7", kText, nullptr},
    TagInfo{
        "t8", kNumber,
        [](std::string& o, const TagInput& i) { return Price(o, i.values, i.values.yearTarget); }},
    TagInfo{"v", kNumber,
            [](std::string& o, const TagInput& i) { return Count(o, i.values.volume); }},
    TagInfo{"v1", kNumber, nullptr},
    TagInfo{"v7", kNumber, nullptr},
    TagInfo{
        "w", kText,
        [](std::string& o,
           const TagInput& i) { return Range(o, i.values, i.values.yearLow, i.values.yearHigh); }},
    TagInfo{"w1", kText, nullptr},
    TagInfo{"w4", kText, nullptr},
    TagInfo{"x", kText,
            [](std::string& o, const TagInput& i) { return Text(o, i.values.exchange); }},
    TagInfo{"y", kNumber,
            [](std::string& o, const TagInput& i) { return Money(o, i.values.dividendYield); }},
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
