#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "quotes/quote_line.h"

namespace {

class QuoteLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearPortfolio();
        quoteRowMatched = false;
    }

    static std::u16string F(const char16_t* text) { return text; }
};

const char16_t* const kMsftLine =
    u"MSFT,U,29.12,1.392,20.93,29.36,+0.24,+0.82%,45716300,289.1B,30.26,21.46,12/1/2006,"
    u"4:00pm,28.97,29.55,MICROSOFT CP,  9,846,000,000";

TEST_F(QuoteLineTest, MatchingRowGetsEveryValueInItsField) {
    AppendQuoteRow(u"IBM", u"U");
    AppendQuoteRow(u"A", u"U");
    AppendQuoteRow(u"B", u"U");
    AppendQuoteRow(u"MSFT", u"U");
    SetText(Portfolio[3].reserved, u"keep");
    ApplyQuoteLine(kMsftLine);
    const QuoteRecord& r = Portfolio[3];
    EXPECT_TRUE(quoteRowMatched);
    EXPECT_EQ(F(r.prevClose), u"29.12");
    EXPECT_EQ(F(r.eps), u"1.392");
    EXPECT_EQ(F(r.peRatio), u"20.93");
    EXPECT_EQ(F(r.lastPrice), u"29.36");
    EXPECT_EQ(F(r.change), u"+0.24");
    EXPECT_EQ(F(r.pctChange), u"+0.82%");
    EXPECT_EQ(F(r.volume), u"45716300");
    EXPECT_EQ(F(r.marketCap), u"289.1B");
    EXPECT_EQ(F(r.yearHigh), u"30.26");
    EXPECT_EQ(F(r.yearLow), u"21.46");
    EXPECT_EQ(F(r.lastTradeDate), u"12/1/2006");
    EXPECT_EQ(F(r.lastTradeTime), u"4:00pm");
    EXPECT_EQ(F(r.dayLow), u"28.97");
    EXPECT_EQ(F(r.dayHigh), u"29.55");
    EXPECT_EQ(F(r.companyName), u"MICROSOFT CP");
    EXPECT_EQ(F(r.sharesOut), u"9846000000");
    EXPECT_EQ(F(r.reserved), u"keep");
    EXPECT_EQ(PortfolioRowCount(), 4);
}

TEST_F(QuoteLineTest, UnmatchedLinesAppendWithoutSettingTheFlag) {
    AppendQuoteRow(u"MSFT", u"U");
    AppendQuoteRow(u"msft", u"T");
    std::u16string line = kMsftLine;
    line.replace(5, 1, u"T");  // MSFT on Toronto: no such row
    ApplyQuoteLine(line.c_str());
    ApplyQuoteLine(u"msft,U,1");
    EXPECT_FALSE(quoteRowMatched);
    ASSERT_EQ(PortfolioRowCount(), 4);
    EXPECT_EQ(F(Portfolio[2].exchangeCode), u"T");
    EXPECT_EQ(F(Portfolio[2].reserved), u"*");
    EXPECT_EQ(F(Portfolio[2].lastPrice), u"29.36");
    EXPECT_EQ(F(Portfolio[3].symbol), u"msft");
    EXPECT_EQ(F(Portfolio[3].prevClose), u"1");
}

TEST_F(QuoteLineTest, FullTableDropsUnmatchedLines) {
    for (int i = 0; i < kPortfolioRows; ++i) {
        AppendQuoteRow(
            (u"S" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'A' + i / 26)).c_str(),
            u"U");
    }
    QuoteRecord before[kPortfolioRows];
    std::memcpy(before, Portfolio, sizeof before);
    ApplyQuoteLine(kMsftLine);
    EXPECT_EQ(std::memcmp(before, Portfolio, sizeof before), 0);
    EXPECT_FALSE(quoteRowMatched);
}

TEST_F(QuoteLineTest, OverlongValuesAreCutWithoutShiftingLaterFields) {
    AppendQuoteRow(u"X", u"U");
    // prevClose of exactly W - 1 characters, eps of W, ratio far longer.
    ApplyQuoteLine(
        u"X,U,123456789,1234567890,12345678901234567890,4,5,6,7,8,9,10,11,12,13,14,"
        u"A very long company name indeed,1");
    const QuoteRecord& r = Portfolio[0];
    EXPECT_EQ(F(r.prevClose), u"123456789");
    EXPECT_EQ(F(r.eps), u"123456789");
    EXPECT_EQ(F(r.peRatio), u"123456789");
    EXPECT_EQ(F(r.lastPrice), u"4");
    EXPECT_EQ(F(r.dayHigh), u"14");
    EXPECT_EQ(F(r.companyName), u"A very long company");
    EXPECT_EQ(F(r.sharesOut), u"1");
}

TEST_F(QuoteLineTest, EmptyValuesAndShortLinesStoreEmptyText) {
    AppendQuoteRow(u"X", u"U");
    ApplyQuoteLine(u"X,U,1,,3");
    EXPECT_EQ(F(Portfolio[0].prevClose), u"1");
    EXPECT_EQ(F(Portfolio[0].eps), u"");
    EXPECT_EQ(F(Portfolio[0].peRatio), u"3");
    EXPECT_EQ(F(Portfolio[0].lastPrice), u"");
    EXPECT_EQ(F(Portfolio[0].sharesOut), u"");
    ApplyQuoteLine(u"X,U");
    for (int f = static_cast<int>(QuoteField::prevClose); f < kQuoteFieldCount; ++f) {
        if (static_cast<QuoteField>(f) == QuoteField::reserved) continue;
        EXPECT_EQ(F(FieldText(Portfolio[0], static_cast<QuoteField>(f))), u"") << f;
    }
    EXPECT_EQ(F(Portfolio[0].reserved), u"*");
}

TEST_F(QuoteLineTest, LinesWithoutSymbolOrCodeChangeNothing) {
    ApplyQuoteLine(u"");
    ApplyQuoteLine(u"RY,,1,2,3");  // the reply named a suffix no exchange has
    ApplyQuoteLine(u",U,1,2,3");
    EXPECT_EQ(PortfolioRowCount(), 0);
    EXPECT_TRUE(IsEmptyText(Portfolio[0].prevClose));
}

TEST_F(QuoteLineTest, CompanyNameCommaAndHashAndSharesOutstanding) {
    ApplyQuoteLine(
        u"T,U,1,2,3,4,5,6,7,8,9,10,11,12,13,14,Tesla Motors, Inc.,  1,234,567,890,123,456");
    EXPECT_EQ(F(Portfolio[0].companyName), u"Tesla Motors");
    EXPECT_EQ(F(Portfolio[0].sharesOut), u"Inc.1234567890");
    ApplyQuoteLine(u"H,U,1,2,3,4,5,6,7,8,9,10,11,12,13,14,AT#T Corp,5");
    EXPECT_EQ(F(Portfolio[1].companyName), u"AT T Corp");
}

TEST_F(QuoteLineTest, RandomLinesNeverBreakTheTable) {
    const std::u16string alphabet = u"AB,,,U T#1.-*\xFFFF\xD800";
    std::mt19937 random(42);
    for (int round = 0; round < 5000; ++round) {
        char16_t line[kQuoteLineWidth];
        const std::size_t length = random() % 200;
        for (std::size_t i = 0; i < length; ++i) line[i] = alphabet[random() % alphabet.size()];
        line[length] = 0;
        ApplyQuoteLine(line);
    }
    const int count = PortfolioRowCount();
    for (int row = 0; row < kPortfolioRows; ++row) {
        EXPECT_EQ(RowInUse(row), row < count);
        if (row < count) {
            EXPECT_EQ(FindChar(Portfolio[row].companyName, u'#'), nullptr);
        }
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            const FieldRef ref = FieldOf(Portfolio[row], static_cast<QuoteField>(f));
            EXPECT_LT(TextLength(ref.text), ref.width);
        }
    }
}

}  // namespace
