#include <gtest/gtest.h>

#include <filesystem>

#include <cstring>
#include <random>
#include <string>

#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "platform/kernel32/files.h"
#include "platform/testing/faults.h"
#include "support/device_fixture.h"

namespace {

using tickwell_test::DeviceTest;
using tickwell_test::Utf16Bytes;

const std::string kFile = "/PIVData/PIVData.PIV";

class PortfolioFileTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        CreateDirectoryW(PortfolioFile::kDirectory, nullptr);
    }

    int Save() {
        HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
        const int result = SavePortfolio(file);
        CloseHandle(file);
        return result;
    }

    int Load() {
        HANDLE file = OpenPortfolioFile(PortfolioFileMode::load);
        const int result = LoadPortfolio(file);
        CloseHandle(file);
        return result;
    }

    void WriteUtf16File(const std::u16string& text) {
        WriteHostFile(kFile, Utf16Bytes(u"\xFEFF" + text));
    }

    // The file as text, its byte-order mark checked and left out.
    std::u16string FileText() {
        const auto bytes = ReadHostFile(kFile);
        std::u16string text;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        }
        if (text.empty()) return text;
        EXPECT_EQ(text[0], 0xFEFF);
        return text.substr(1);
    }

    // Every field closed inside its width, the rows in use a prefix, the rest empty.
    static void ExpectTableSound() {
        const int count = PortfolioRowCount();
        for (int row = 0; row < kPortfolioRows; ++row) {
            for (int f = 0; f < kQuoteFieldCount; ++f) {
                const FieldRef ref = FieldOf(Portfolio[row], static_cast<QuoteField>(f));
                bool closed = false;
                for (std::size_t i = 0; i < ref.width; ++i) closed = closed || ref.text[i] == 0;
                ASSERT_TRUE(closed) << "row " << row << " field " << f;
                if (row >= count) {
                    ASSERT_TRUE(IsEmptyText(ref.text)) << "row " << row;
                }
            }
        }
    }
};

std::u16string SeedRecord() {
    std::u16string record = u"MSFT,U";
    for (int i = 0; i < 17; ++i) record += u",*";
    return record + u"#";
}

TEST_F(PortfolioFileTest, FirstStartPortfolioIsThe84ByteFile) {
    AppendQuoteRow(u"MSFT", u"U");
    EXPECT_EQ(Save(), 1);
    const auto bytes = ReadHostFile(kFile);
    EXPECT_EQ(bytes.size(), 84u);
    EXPECT_EQ(bytes, Utf16Bytes(u"\xFEFF" + SeedRecord()));
}

TEST_F(PortfolioFileTest, EmptyPortfolioIsAnEmptyFileAndLoadsNothing) {
    EXPECT_EQ(Save(), 1);
    EXPECT_EQ(ReadHostFile(kFile).size(), 0u);
    AppendQuoteRow(u"IBM", u"U");
    EXPECT_EQ(Load(), 1);
    EXPECT_EQ(PortfolioRowCount(), 1);
    EXPECT_EQ(std::u16string(Portfolio[0].symbol), u"IBM");
}

TEST_F(PortfolioFileTest, FullTableWithMaximalFieldsRoundTrips) {
    for (int row = 0; row < kPortfolioRows; ++row) {
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            const FieldRef ref = FieldOf(Portfolio[row], static_cast<QuoteField>(f));
            std::u16string text;
            for (std::size_t i = 0; i + 1 < ref.width; ++i) {
                text += static_cast<char16_t>(u'A' + (row + f + i) % 26);
            }
            CopyText(ref.text, ref.width, text.c_str());
        }
        // Symbols stay unique and free of dots, codes stay clear of "C".
        SetText(Portfolio[row].exchangeCode, u"U");
    }
    QuoteRecord saved[kPortfolioRows];
    std::memcpy(saved, Portfolio, sizeof saved);
    ASSERT_EQ(Save(), 1);
    EXPECT_EQ(ReadHostFile(kFile).size(), 83202u);
    ClearPortfolio();
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(std::memcmp(saved, Portfolio, sizeof saved), 0);
}

TEST_F(PortfolioFileTest, DateAndRatioAreStoredSwappedAndReadBackInPlace) {
    AppendQuoteRow(u"MSFT", u"U");
    SetText(Portfolio[0].peRatio, u"20.93");
    SetText(Portfolio[0].lastTradeDate, u"12/1/2006");
    SetText(Portfolio[0].prevClose, u"");  // empty in memory, "*" in the file
    ASSERT_EQ(Save(), 1);
    EXPECT_EQ(FileText(), u"MSFT,U,*,*,12/1/2006,20.93,*,*,*,*,*,*,*,*,*,*,*,*,*#");
    ClearPortfolio();
    Load();
    EXPECT_EQ(std::u16string(Portfolio[0].peRatio), u"20.93");
    EXPECT_EQ(std::u16string(Portfolio[0].lastTradeDate), u"12/1/2006");
    EXPECT_EQ(std::u16string(Portfolio[0].prevClose), u"*");
}

TEST_F(PortfolioFileTest, OlderSpellingsAreReadTheNewWay) {
    std::u16string older = SeedRecord();
    older.replace(0, 6, u"BRK.B,C");
    WriteUtf16File(older + SeedRecord());
    Load();
    ASSERT_EQ(PortfolioRowCount(), 2);
    EXPECT_EQ(std::u16string(Portfolio[0].symbol), u"BRK-B");
    EXPECT_EQ(std::u16string(Portfolio[0].exchangeCode), u"T");
    Save();
    EXPECT_EQ(FileText().substr(0, 8), u"BRK-B,T,");
}

TEST_F(PortfolioFileTest, ReadsAtMost200RecordsAndIgnoresTheRest) {
    std::u16string text;
    for (int i = 0; i < 205; ++i) {
        std::u16string record = SeedRecord();
        record.replace(0, 4,
                       u"R" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'A' + i / 26));
        text += record;
    }
    WriteUtf16File(text + u"junk");
    Load();
    EXPECT_EQ(PortfolioRowCount(), 200);
    EXPECT_EQ(std::u16string(Portfolio[199].symbol), u"RRH");
}

TEST_F(PortfolioFileTest, OverlongFieldsAreCutAndTheRestSkipped) {
    std::u16string record = u"ABCDEFGHIJKLMNOP,U,123456789012345";
    for (int i = 0; i < 16; ++i) record += u",*";
    WriteUtf16File(record + u"#");
    Load();
    EXPECT_EQ(std::u16string(Portfolio[0].symbol), u"ABCDEFGHI");
    EXPECT_EQ(std::u16string(Portfolio[0].prevClose), u"123456789");
    EXPECT_EQ(std::u16string(Portfolio[0].eps), u"*");
}

TEST_F(PortfolioFileTest, MalformedContentFillsNoHalfRow) {
    const std::u16string good = SeedRecord();
    std::u16string emptySymbol = good;
    emptySymbol.replace(0, 4, u"");
    std::u16string doubled = good;
    doubled.replace(0, 4, u"DBL");
    doubled.replace(doubled.find(u",*"), 2, u",");  // one empty field
    WriteUtf16File(good + emptySymbol + doubled + u"CUT,U,1,2,3");
    Load();
    ExpectTableSound();
    ASSERT_EQ(PortfolioRowCount(), 2);
    EXPECT_EQ(std::u16string(Portfolio[1].symbol), u"DBL");
    EXPECT_EQ(std::u16string(Portfolio[1].prevClose), u"");
    EXPECT_EQ(std::u16string(Portfolio[1].companyName), u"*");
}

TEST_F(PortfolioFileTest, ByteOrderMarkAloneOrAnOddByteLoadsNothing) {
    WriteHostFile(kFile, {0xFF, 0xFE});
    Load();
    EXPECT_EQ(PortfolioRowCount(), 0);
    auto bytes = Utf16Bytes(u"\xFEFF" + SeedRecord());
    bytes.push_back('X');
    WriteHostFile(kFile, bytes);
    Load();
    EXPECT_EQ(PortfolioRowCount(), 1);
}

TEST_F(PortfolioFileTest, FailedWriteKeepsTheOldFile) {
    AppendQuoteRow(u"MSFT", u"U");
    ASSERT_EQ(Save(), 1);
    const auto before = ReadHostFile(kFile);
    for (int i = 0; i < 40; ++i) AppendQuoteRow((u"X" + std::u16string(1, u'A' + i)).c_str(), u"U");
    platform::testing::SetWriteBudget(500);  // the disk fills up in the middle of the save
    messages_.clear();
    EXPECT_EQ(Save(), 0);
    platform::testing::ClearFaults();
    EXPECT_EQ(ReadHostFile(kFile), before);
    ASSERT_EQ(messages_.records().size(), 1u);
    EXPECT_EQ(messages_.records()[0].text, u"Could not write the quote file");
    EXPECT_EQ(messages_.records()[0].caption, u"Error");
    EXPECT_EQ(messages_.records()[0].type, MB_OK);
    EXPECT_EQ(messages_.records()[0].owner, nullptr);
    EXPECT_EQ(PortfolioRowCount(), 41);  // memory keeps the change

    // The new content written whole, but not put in place: the same.
    platform::testing::SetCallFailure(platform::testing::FailingCall::rename, true);
    messages_.clear();
    EXPECT_EQ(Save(), 0);
    platform::testing::ClearFaults();
    EXPECT_EQ(ReadHostFile(kFile), before);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Could not write the quote file"});
    for (const auto& entry : std::filesystem::directory_iterator(Host("/PIVData"))) {
        EXPECT_EQ(entry.path().filename().string(), "PIVData.PIV");  // no staging file left
    }
}

TEST_F(PortfolioFileTest, FailedWriteIntoAnOpenEmptyFileLeavesItEmpty) {
    AppendQuoteRow(u"MSFT", u"U");
    HANDLE file = OpenPortfolioFile(PortfolioFileMode::load);
    platform::testing::SetWriteBudget(10);
    EXPECT_EQ(SavePortfolio(file), 0);
    platform::testing::ClearFaults();
    CloseHandle(file);
    EXPECT_EQ(ReadHostFile(kFile).size(), 0u);
}

TEST_F(PortfolioFileTest, SecondOpenFailsWithItsMessage) {
    HANDLE first = OpenPortfolioFile(PortfolioFileMode::load);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPortfolioFile(PortfolioFileMode::replace), INVALID_HANDLE_VALUE);
    CloseHandle(first);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Could not open the quote file"});
    EXPECT_EQ(SavePortfolio(INVALID_HANDLE_VALUE), 0);
}

TEST_F(PortfolioFileTest, NoMemoryLoadsNothing) {
    WriteUtf16File(SeedRecord());
    platform::testing::SetAllocationFailure(true);
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(PortfolioRowCount(), 0);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Not enough memory"});
}

TEST_F(PortfolioFileTest, RandomAndTruncatedContentNeverBreaksTheTable) {
    std::u16string valid;
    for (int i = 0; i < 12; ++i) {
        std::u16string record = SeedRecord();
        record.replace(0, 4, u"SYM" + std::u16string(1, u'A' + i));
        valid += record;
    }
    // An explicit array: a string literal would stop at its NUL.
    const char16_t alphabet[] = {u'A', u'B', u'.', u',', u'#', u'*', u'C', 0, 0xFEFF, 0xD800, u'x'};
    const std::size_t letters = sizeof alphabet / sizeof alphabet[0];
    std::mt19937 random(20061202);
    for (int round = 0; round < 3000; ++round) {
        std::u16string text = valid.substr(0, random() % (valid.size() + 1));
        const int edits = random() % 8;
        for (int e = 0; e < edits && !text.empty(); ++e) {
            text[random() % text.size()] = alphabet[random() % letters];
        }
        ClearPortfolio();
        ParsePortfolioRecords(text.data(), text.size());
        ExpectTableSound();
        if (HasFatalFailure()) return;
    }
}

}  // namespace
