// Reply bytes into QuoteLines and rows.
#include "quotes/reply_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "model/fixed_text.h"
#include "model/portfolio.h"

namespace {

std::u16string Normalized(const std::string& bytes) {
    QuoteLine line;
    NormalizeReplyLine(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), line);
    return line;
}

void Apply(const std::string& reply, bool cut = false) {
    ApplyReplyLines(reinterpret_cast<const unsigned char*>(reply.data()), reply.size(), cut);
}

std::u16string F(const char16_t* text) {
    return text;
}

const std::string kMsft =
    "\"MSFT\",29.12,1.392,20.93,29.36,+0.24,\"+0.82%\",45716300,289.1B,30.26,21.46,"
    "\"12/1/2006\",\"4:00pm\",28.97,29.55,\"MICROSOFT CP\",  9,846,000,000";

class ReplyLinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearPortfolio();
        quoteRowMatched = false;
    }
};

TEST(ReplyLines, SymbolsGetTheirExchangeCodeAndLoseEveryDoubleQuote) {
    EXPECT_EQ(Normalized(kMsft),
              u"MSFT,U,29.12,1.392,20.93,29.36,+0.24,+0.82%,45716300,289.1B,30.26,21.46,"
              u"12/1/2006,4:00pm,28.97,29.55,MICROSOFT CP,  9,846,000,000");
    EXPECT_EQ(Normalized("\"RY.TO\",51.20,\"N/A\""), u"RY,T,51.20,N/A");
    EXPECT_EQ(Normalized("\"2330.TWO\",1.00"), u"2330,X,1.00");
    // A suffix no exchange has, or one too long for any, leaves the code empty.
    EXPECT_EQ(Normalized("\"ABC.QQ\",1.00"), u"ABC,,1.00");
    EXPECT_EQ(Normalized("\"ABC.TOXX\",1.00"), u"ABC,,1.00");
    EXPECT_EQ(Normalized("\"ABC.to\",1.00"), u"ABC,,1.00");  // suffixes are case-sensitive
    // A comma inside a quoted value is no separator: the name keeps its place.
    EXPECT_EQ(Normalized("\"AMZN\",\"Amazon.com, Inc.\",4507600000"),
              u"AMZN,U,Amazon.com Inc.,4507600000");
}

TEST(ReplyLines, ControlCharactersAreNoData) {
    // ESC, BEL, TAB, DEL and the C1 range (0x80 to 0x9F) are left out; 0xA0 and up stay.
    EXPECT_EQ(Normalized("\"M\x1B"
                         "S\x07"
                         "FT\",2\x7F"
                         "9.12,\"Micro\x85"
                         "soft\x9F\t\xA0\""),
              u"MSFT,U,29.12,Microsoft\u00A0");
}

TEST(ReplyLines, HighBytesAreLatin1AndLongLinesAreCut) {
    EXPECT_EQ(Normalized("\"NESN.SW\",1,\"Nestl\xE9 \xFF\""), u"NESN,Z,1,Nestl\u00E9 \u00FF");
    const std::u16string longest = Normalized("\"X\"," + std::string(3000, '9'));
    EXPECT_EQ(longest.size(), kQuoteLineWidth - 1);
    EXPECT_EQ(longest.substr(0, 6), u"X,U,99");
}

TEST_F(ReplyLinesTest, OnlyLinesThatBeginWithADoubleQuoteReachTheTable) {
    AppendQuoteRow(u"MSFT", u"U");
    Apply(
        "<html><body>Sorry, Unable to process request at this time -- error 999."
        "</body></html>\r\n\r\n" +
        std::string("\x01\xFE,,\"X\"\r\n") + kMsft + "\r\n");
    EXPECT_EQ(PortfolioRowCount(), 1);
    EXPECT_EQ(F(Portfolio[0].lastPrice), u"29.36");
    EXPECT_TRUE(quoteRowMatched);
}

TEST_F(ReplyLinesTest, LinesEndAtCrLfLfOrCr) {
    Apply("\"A\",1\r\n\"B\",2\n\"C\",3\r\"D\",4\r\n");
    ASSERT_EQ(PortfolioRowCount(), 4);
    EXPECT_EQ(F(Portfolio[0].symbol), u"A");
    EXPECT_EQ(F(Portfolio[1].symbol), u"B");
    EXPECT_EQ(F(Portfolio[2].symbol), u"C");
    EXPECT_EQ(F(Portfolio[3].symbol), u"D");
    EXPECT_EQ(F(Portfolio[3].prevClose), u"4");
}

// The service ends every line: a last line without its end was cut short, whether or not the
// read failed (a short Content-Length ends a body early too), and a NUL ends no line.
TEST_F(ReplyLinesTest, UnfinishedLinesAndLinesWithANulChangeNoRow) {
    AppendQuoteRow(u"A", u"U");
    AppendQuoteRow(u"B", u"U");
    for (bool cut : {true, false}) {
        Apply("\"A\",10.50,1\r\n\"B\",20.2", cut);
        EXPECT_EQ(F(Portfolio[0].prevClose), u"10.50");
        EXPECT_EQ(F(Portfolio[1].prevClose), u"*");  // not "20.2": its price was cut short
    }
    Apply(std::string("\"B\",20.25,7\0,Name\r\n\"A\",11.00,1\r\n", 32));
    EXPECT_EQ(F(Portfolio[1].prevClose), u"*");
    EXPECT_EQ(F(Portfolio[0].prevClose), u"11.00");
}

TEST_F(ReplyLinesTest, UnknownSuffixesAndEmptySymbolsAddNoRow) {
    Apply("\"ABC.QQ\",1\r\n\"\",2\r\n\"\r\n\"ABC\r\n");
    EXPECT_EQ(PortfolioRowCount(), 0);
}

}  // namespace
