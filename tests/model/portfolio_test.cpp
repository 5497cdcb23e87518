#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/fixed_text.h"
#include "model/portfolio.h"

namespace {

class PortfolioTest : public ::testing::Test {
protected:
    void SetUp() override { ClearPortfolio(); }

    void Fill(int rows) {
        for (int i = 0; i < rows; ++i) {
            const std::u16string symbol =
                u"S" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'0' + (i / 26) % 10);
            ASSERT_EQ(AppendQuoteRow(symbol.c_str(), u"U"), i);
            SetText(Portfolio[i].reserved, symbol.c_str());
        }
    }

    static bool AllFieldsEmpty(int row) {
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            if (!IsEmptyText(FieldText(Portfolio[row], static_cast<QuoteField>(f)))) return false;
        }
        return true;
    }
};

TEST(FixedText, WritesCutToWidthMinusOneAndNeverPastTheField) {
    char16_t field[6];
    std::memset(field, 0x55, sizeof field);
    char16_t guard[4] = {7, 7, 7, 7};
    SetText(field, u"ABCDEFGHIJ");
    EXPECT_EQ(std::u16string(field), u"ABCDE");
    AddText(field, u"XYZ");
    EXPECT_EQ(std::u16string(field), u"ABCDE");
    SetTextN(field, u"ABCDEF", 2);
    AddText(field, u"xyz");
    EXPECT_EQ(std::u16string(field), u"ABxyz");
    EXPECT_EQ(guard[0], 7);
    EXPECT_TRUE(TextEquals(u"MSFT", u"MSFT"));
    EXPECT_FALSE(TextEquals(u"MSFT", u"msft"));
    EXPECT_FALSE(TextEquals(u"MSF", u"MSFT"));
    EXPECT_LT(CompareText(u"AB", u"ABC"), 0);
}

TEST_F(PortfolioTest, AppendFillsPlaceholdersAndCutsLongSymbols) {
    EXPECT_EQ(FindQuoteRow(u"MSFT", u"U"), kNoRow);
    EXPECT_EQ(AppendQuoteRow(u"ABCDEFGHIJKL", u"T"), 0);
    EXPECT_EQ(std::u16string(Portfolio[0].symbol), u"ABCDEFGHI");
    EXPECT_EQ(std::u16string(Portfolio[0].exchangeCode), u"T");
    for (int f = static_cast<int>(QuoteField::prevClose); f < kQuoteFieldCount; ++f) {
        EXPECT_EQ(std::u16string(FieldText(Portfolio[0], static_cast<QuoteField>(f))), u"*");
    }
    EXPECT_EQ(AppendQuoteRow(u"", u"U"), kNoRow);
    EXPECT_EQ(PortfolioRowCount(), 1);
}

TEST_F(PortfolioTest, FindMatchesSymbolAndCodeExactly) {
    AppendQuoteRow(u"IBM", u"U");
    AppendQuoteRow(u"MSFT", u"U");
    AppendQuoteRow(u"MSFT", u"T");
    EXPECT_EQ(FindQuoteRow(u"MSFT", u"U"), 1);
    EXPECT_EQ(FindQuoteRow(u"MSFT", u"T"), 2);
    EXPECT_EQ(FindQuoteRow(u"msft", u"U"), kNoRow);
    EXPECT_EQ(FindQuoteRow(u"MSFT", u"G"), kNoRow);
    EXPECT_EQ(FindQuoteRow(u"MSF", u"U"), kNoRow);
}

TEST_F(PortfolioTest, FindStopsAtTheEndOfTheTable) {
    AppendQuoteRow(u"IBM", u"U");
    // Data after the end (which a correct table never has) must not be found.
    SetText(Portfolio[5].symbol, u"MSFT");
    SetText(Portfolio[5].exchangeCode, u"U");
    EXPECT_EQ(FindQuoteRow(u"MSFT", u"U"), kNoRow);
}

TEST_F(PortfolioTest, DeleteMovesLaterRowsUp) {
    Fill(3);
    const QuoteRecord row1 = Portfolio[1], row2 = Portfolio[2];
    DeleteQuoteRow(0);
    EXPECT_EQ(std::memcmp(&Portfolio[0], &row1, sizeof row1), 0);
    EXPECT_EQ(std::memcmp(&Portfolio[1], &row2, sizeof row2), 0);
    EXPECT_TRUE(AllFieldsEmpty(2));
    EXPECT_TRUE(AllFieldsEmpty(3));
    DeleteQuoteRow(1);  // the last row in use
    EXPECT_EQ(PortfolioRowCount(), 1);
    EXPECT_TRUE(AllFieldsEmpty(1));
}

TEST_F(PortfolioTest, DeleteOnAFullTableEmptiesTheLastRow) {
    Fill(kPortfolioRows);
    const QuoteRecord row199 = Portfolio[199];
    const QuoteRecord row51 = Portfolio[51];
    DeleteQuoteRow(50);
    EXPECT_EQ(PortfolioRowCount(), 199);
    EXPECT_EQ(std::memcmp(&Portfolio[50], &row51, sizeof row51), 0);
    EXPECT_EQ(std::memcmp(&Portfolio[198], &row199, sizeof row199), 0);
    EXPECT_TRUE(AllFieldsEmpty(199));
    EXPECT_EQ(AppendQuoteRow(u"NEW", u"U"), 199);
}

TEST_F(PortfolioTest, AppendOnAFullTableChangesNothing) {
    Fill(kPortfolioRows);
    QuoteRecord before[kPortfolioRows];
    std::memcpy(before, Portfolio, sizeof before);
    EXPECT_EQ(AppendQuoteRow(u"NEW", u"U"), kNoRow);
    EXPECT_EQ(std::memcmp(before, Portfolio, sizeof before), 0);
}

TEST_F(PortfolioTest, DeleteOutsideTheRowsInUseChangesNothing) {
    Fill(2);
    QuoteRecord before[kPortfolioRows];
    std::memcpy(before, Portfolio, sizeof before);
    for (int row : {-1, 2, 199, 200, 5000}) DeleteQuoteRow(row);
    EXPECT_EQ(std::memcmp(before, Portfolio, sizeof before), 0);
}

}  // namespace
