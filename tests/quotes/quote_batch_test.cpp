#include <gtest/gtest.h>

#include <string>

#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "quotes/quote_batch.h"

namespace {

const std::u16string kTail = u"\"&d=t&f=sperl1c1p2vj1kjd1t1ghnj2";

class QuoteBatchTest : public ::testing::Test {
protected:
    void SetUp() override { ClearPortfolio(); }

    static void Fill(int rows) {
        for (int i = 0; i < rows; ++i) {
            AppendQuoteRow(
                (u"R" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'A' + i / 26))
                    .c_str(),
                u"U");
        }
    }

    // Builds every batch of a download; returns the paths.
    static std::vector<std::u16string> Batches() {
        std::vector<std::u16string> paths;
        QuoteBatch batch;
        do {
            BuildQuoteBatch(batch);
            paths.push_back(batch.path);
            batch.startRow = batch.nextStart;
        } while (batch.nextStart < kPortfolioRows && paths.size() < 10);
        return paths;
    }

    static std::size_t Entries(const std::u16string& path) {
        const std::size_t open = path.find(u'"'), close = path.rfind(kTail);
        const std::u16string list = path.substr(open + 1, close - open - 1);
        if (list.empty()) return 0;
        return 1 + std::count(list.begin(), list.end(), u',');
    }
};

TEST_F(QuoteBatchTest, OneRowOnTheDefaultExchange) {
    AppendQuoteRow(u"MSFT", u"U");
    char16_t path[kQuotePathWidth];
    EXPECT_EQ(BuildQuoteBatch(0, path), 200);
    EXPECT_EQ(std::u16string(path), u"/d/quotes.csv?s=\"MSFT\"&d=t&f=sperl1c1p2vj1kjd1t1ghnj2");
}

TEST_F(QuoteBatchTest, SuffixesAreSentExceptForTheDefaultAndUnknownExchanges) {
    AppendQuoteRow(u"RY", u"T");
    AppendQuoteRow(u"IBM", u"U");
    AppendQuoteRow(u"ODD", u"Q");
    AppendQuoteRow(u"OLD", u"C");
    AppendQuoteRow(u"2330", u"X");
    AppendQuoteRow(u"msft", u"U");
    char16_t path[kQuotePathWidth];
    BuildQuoteBatch(0, path);
    EXPECT_EQ(std::u16string(path), u"/d/quotes.csv?s=\"RY.TO,IBM,ODD,OLD,2330.TWO,msft" + kTail);
}

TEST_F(QuoteBatchTest, BatchBoundaries) {
    struct Case {
        int rows;
        std::vector<std::size_t> entries;
    };
    for (const Case& c : {Case{1, {1}}, Case{50, {50}}, Case{51, {50, 1}}, Case{120, {50, 50, 20}},
                          Case{200, {50, 50, 50, 50}}}) {
        ClearPortfolio();
        Fill(c.rows);
        const auto paths = Batches();
        ASSERT_EQ(paths.size(), c.entries.size()) << c.rows << " rows";
        for (std::size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(Entries(paths[i]), c.entries[i]);
    }
}

TEST_F(QuoteBatchTest, NextStartsAreWorkedOutFromTheTable) {
    Fill(120);
    char16_t path[kQuotePathWidth];
    EXPECT_EQ(BuildQuoteBatch(0, path), 50);
    EXPECT_EQ(BuildQuoteBatch(50, path), 100);
    EXPECT_EQ(BuildQuoteBatch(100, path), 200);
    EXPECT_EQ(BuildQuoteBatch(150, path), 200);
    EXPECT_EQ(std::u16string(path), u"/d/quotes.csv?s=\"" + kTail);
}

TEST_F(QuoteBatchTest, AnEmptyRowInTheRunEndsTheBatch) {
    Fill(10);
    char16_t path[kQuotePathWidth];
    EXPECT_EQ(BuildQuoteBatch(3, path), 200);
    EXPECT_EQ(Entries(path), 7u);
}

TEST_F(QuoteBatchTest, CharactersARequestCannotCarryAreEncoded) {
    AppendQuoteRow(u"A B\"#%", u"T");
    AppendQuoteRow(u"\u00C9T\U0001F600", u"U");
    AppendQuoteRow(u"BRK-B^{", u"U");
    char16_t path[kQuotePathWidth];
    BuildQuoteBatch(0, path);
    EXPECT_EQ(std::u16string(path),
              u"/d/quotes.csv?s=\"A%20B%22%23%25.TO,%C3%89T%F0%9F%98%80,"
              u"BRK-B%5E%7B" +
                  kTail);
}

TEST_F(QuoteBatchTest, ASymbolCannotChangeTheRequestsMeaning) {
    // Raw, "X&f=n" would replace the tags of the whole batch, and a comma or plus split it.
    AppendQuoteRow(u"X&f=n", u"U");
    AppendQuoteRow(u"A,B+C", u"U");
    char16_t path[kQuotePathWidth];
    BuildQuoteBatch(0, path);
    EXPECT_EQ(std::u16string(path), u"/d/quotes.csv?s=\"X%26f%3Dn,A%2CB%2BC" + kTail);
}

TEST_F(QuoteBatchTest, WorstCaseEncodedBatchFitsThePath) {
    for (int i = 0; i < 50; ++i) {
        std::u16string symbol(9, static_cast<char16_t>(0x4E00 + i));
        AppendQuoteRow(symbol.c_str(), u"X");
    }
    char16_t path[kQuotePathWidth];
    BuildQuoteBatch(0, path);
    const std::u16string text = path;
    EXPECT_EQ(text.size(), 17u + 50u * (81u + 4u) + 49u + 32u);
    EXPECT_EQ(text.substr(text.size() - kTail.size()), kTail);
}

}  // namespace
