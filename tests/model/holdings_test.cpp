// The holdings' figures and their file, without the screen: amounts as the cells show them,
// the minor units made major, totals by currency with a row counted once, the file's lines
// read as holdings or kept as they are, and the sort of a holding column.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "listview/holding_columns.h"
#include "model/fixed_text.h"
#include "model/holding_figures.h"
#include "model/holdings.h"
#include "model/holdings_file.h"
#include "model/portfolio.h"

namespace {

class HoldingsModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearPortfolio();
        ClearHoldings();
    }
    void TearDown() override {
        ClearPortfolio();
        ClearHoldings();
        firstHoldingColumn = -1;
    }
    static void Row(const char16_t* symbol, const char16_t* code, const char16_t* last,
                    const char16_t* change) {
        const int row = AppendQuoteRow(symbol, code);
        SetText(Portfolio[row].lastPrice, last);
        SetText(Portfolio[row].change, change);
    }
    static std::u16string Amount(double value, bool sign) {
        char16_t text[kAmountWidth];
        FormatAmount(value, sign, text);
        return text;
    }
};

TEST_F(HoldingsModelTest, AmountsAndNumbers) {
    EXPECT_EQ(Amount(1234567.891, false), u"1,234,567.89");
    EXPECT_EQ(Amount(999.995, false), u"1,000.00");
    EXPECT_EQ(Amount(12.3, true), u"+12.30");
    EXPECT_EQ(Amount(-1234.5, true), u"-1,234.50");
    EXPECT_EQ(Amount(-0.004, true), u"0.00");
    EXPECT_EQ(Amount(1e16, false), u"N/A");
    EXPECT_EQ(Amount(NAN, true), u"N/A");

    const struct {
        const char16_t* text;
        bool number;
        double value;
    } numbers[] = {{u"541.55", true, 541.55}, {u"+1.5", true, 1.5}, {u"-0.25", true, -0.25},
                   {u"N/A", false, 0},        {u"*", false, 0},     {u"", false, 0},
                   {u"1e5", false, 0},        {u"1.2.3", false, 0}, {u"+-1", false, 0},
                   {u"12.5M", false, 0}};
    for (const auto& n : numbers) {
        double value = -1;
        EXPECT_EQ(ReadQuoteNumber(n.text, value), n.number) << static_cast<int>(n.text[0]);
        if (n.number) {
            EXPECT_DOUBLE_EQ(value, n.value);
        }
    }
}

TEST_F(HoldingsModelTest, TotalsByCurrencyInMajorUnits) {
    Row(u"MSFT", u"U", u"500.00", u"+2.00");
    Row(u"VOD", u"G", u"80.00", u"-1.00");    // pence
    Row(u"TEVA", u"q", u"5000", u"+50");      // agorot
    Row(u"IBM", u"U", u"N/A", u"N/A");        // no price: left out
    Row(u"MSFT", u"U", u"500.00", u"+2.00");  // listed twice: counted once
    SetHolding(u"MSFT", u"U", u"10", u"400");
    SetHolding(u"VOD", u"G", u"1000", u"");
    SetHolding(u"TEVA", u"q", u"100", u"4000");
    SetHolding(u"IBM", u"U", u"1", u"1");
    SetHolding(u"AAPL", u"U", u"1", u"1");  // not in the portfolio: not counted

    const HoldingTotals totals = TotalHoldings();
    EXPECT_EQ(totals.heldRows, 4);
    EXPECT_EQ(totals.leftOut, 1);
    ASSERT_EQ(totals.currencyCount, 3);
    char16_t line[kTotalsLineWidth];
    FormatCurrencyTotal(totals.currencies[0], line);
    EXPECT_EQ(std::u16string(line),
              u"USD 5,000.00 \u00B7 Day +20.00 +0.40% \u00B7 Gain "
              u"+1,000.00 +25.00%");
    FormatCurrencyTotal(totals.currencies[1], line);
    EXPECT_EQ(std::u16string(line), u"GBP 800.00 \u00B7 Day -10.00 -1.23%");
    FormatCurrencyTotal(totals.currencies[2], line);
    EXPECT_EQ(std::u16string(line),
              u"ILS 5,000.00 \u00B7 Day +50.00 +1.01% \u00B7 Gain "
              u"+1,000.00 +25.00%");
}

// Rows without the figure go last whichever way the column sorts.
TEST_F(HoldingsModelTest, AHoldingColumnSortsRowsWithoutAFigureLast) {
    Row(u"A", u"U", u"10", u"+1");
    Row(u"B", u"U", u"20", u"+1");
    Row(u"C", u"U", u"30", u"+1");
    SetHolding(u"A", u"U", u"1", u"");
    SetHolding(u"C", u"U", u"1", u"");
    const int value = 1;
    for (bool reversed : {false, true}) {
        EXPECT_LT(CompareHoldingRows(value, Portfolio[0], Portfolio[1], reversed), 0);
        EXPECT_GT(CompareHoldingRows(value, Portfolio[1], Portfolio[2], reversed), 0);
        EXPECT_EQ(CompareHoldingRows(value, Portfolio[0], Portfolio[2], reversed) < 0, !reversed);
    }
}

TEST_F(HoldingsModelTest, TheFileIsReadAsHoldingsOrKeptLines) {
    static const char kFile[] =
        "\xEF\xBB\xBFSymbol,Exchange,Shares,Price Paid\r\n"
        "MSFT,U,10,400.5\r\n"
        "\"A,\"\"B\",G,0.000001,\n"
        "MSFT,U,1,1\n"      // twice: the second is kept as it is
        "VOD,G,0,1\n"       // no shares
        "VOD,G,1,1,1\n"     // five fields
        "VOD,GG,1,1\n"      // no exchange code
        "\xC3\x28,U,1,1\n"  // not UTF-8
        "\n"
        "X\x00Y,U,1,1\n";  // a control character
    const std::string file(kFile, sizeof kFile - 1);

    ASSERT_TRUE(ParseHoldings(file.data(), file.size()));
    ASSERT_EQ(holdingCount, 8);
    EXPECT_TRUE(FindHolding(u"MSFT", u"U"));
    EXPECT_EQ(std::u16string(FindHolding(u"MSFT", u"U")->pricePaid), u"400.5");
    EXPECT_EQ(std::u16string(FindHolding(u"A,\"B", u"G")->shares), u"0.000001");
    for (int i = 2; i < 8; ++i) EXPECT_TRUE(Holdings[i].kept) << i;
    EXPECT_EQ(std::string(Holdings[2].keptLine, Holdings[2].keptLength), "MSFT,U,1,1");

    const std::string tooLong = std::string(kKeptLineWidth, 'x') + "\n";
    EXPECT_FALSE(ParseHoldings(tooLong.data(), tooLong.size()));
    EXPECT_EQ(holdingCount, 0);
}

}  // namespace
