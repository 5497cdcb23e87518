#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/exchange_table.h"
#include "model/fixed_text.h"

namespace {

std::u16string Suffix(const char16_t* code) {
    return SuffixForCode(code);
}

std::u16string RequestSuffix(const char16_t* code) {
    char16_t out[kRequestSuffixWidth];
    RequestSuffixForCode(code, out);
    return out;
}

TEST(ExchangeTable, HoldsFiftyUniqueEntriesInFixedOrder) {
    EXPECT_EQ(std::u16string(ExchangeTable[0].name), u"USA Major");
    EXPECT_EQ(std::u16string(ExchangeTable[1].name), u"Canada TSE");
    EXPECT_EQ(std::u16string(ExchangeTable[26].suffix), u"DE");
    EXPECT_EQ(std::u16string(ExchangeTable[49].name), u"United Kingdom");
    std::set<std::u16string> names, suffixes;
    std::set<char16_t> codes;
    for (const ExchangeEntry& e : ExchangeTable) {
        names.insert(e.name);
        suffixes.insert(e.suffix);
        codes.insert(e.code);
        EXPECT_GE(TextLength(e.suffix), 1u);
        EXPECT_LE(TextLength(e.suffix), 3u);
    }
    EXPECT_EQ(names.size(), 50u);
    EXPECT_EQ(suffixes.size(), 50u);
    EXPECT_EQ(codes.size(), 50u);
    EXPECT_EQ(codes.count(u'C'), 0u);
}

TEST(ExchangeTable, SuffixForCodeKnowsTheOldTorontoCode) {
    EXPECT_EQ(Suffix(u"U"), u"USA");
    EXPECT_EQ(Suffix(u"T"), u"TO");
    EXPECT_EQ(Suffix(u"C"), u"TO");
    EXPECT_EQ(Suffix(u"G"), u"L");
    EXPECT_EQ(Suffix(u"c"), u"SZ");
    EXPECT_EQ(Suffix(u"Q"), u"");
    EXPECT_EQ(Suffix(u""), u"");
}

TEST(ExchangeTable, CodeForSuffixComparesWholeTextsCaseSensitively) {
    EXPECT_EQ(CodeForSuffix(u"TO"), u'T');
    EXPECT_EQ(CodeForSuffix(u"L"), u'G');
    EXPECT_EQ(CodeForSuffix(u"TWO"), u'X');
    EXPECT_EQ(CodeForSuffix(u"USA"), u'U');
    EXPECT_EQ(CodeForSuffix(u"to"), 0);
    EXPECT_EQ(CodeForSuffix(u"TWOX"), 0);
    EXPECT_EQ(CodeForSuffix(u"T"), 0);
    EXPECT_EQ(CodeForSuffix(u""), 0);
}

TEST(ExchangeTable, RequestSuffixLeavesOutTheDefaultExchangeAndUnknownCodes) {
    EXPECT_EQ(RequestSuffix(u"U"), u"");
    EXPECT_EQ(RequestSuffix(u"T"), u".TO");
    EXPECT_EQ(RequestSuffix(u"X"), u".TWO");
    EXPECT_EQ(RequestSuffix(u"C"), u"");
    EXPECT_EQ(RequestSuffix(u"Q"), u"");
    EXPECT_EQ(RequestSuffix(u"TO"), u"");
}

TEST(ExchangeTable, CodeLookupAcceptsOneCharacterOnly) {
    EXPECT_EQ(FindExchangeByCode(u"C"), nullptr);
    EXPECT_EQ(FindExchangeByCode(u""), nullptr);
    EXPECT_EQ(FindExchangeByCode(u"TO"), nullptr);
    EXPECT_EQ(FindExchangeByCode(u"t"), &ExchangeTable[35]);
    EXPECT_EQ(FindExchangeBySuffix(u"SZ"), &ExchangeTable[15]);
}

}  // namespace
