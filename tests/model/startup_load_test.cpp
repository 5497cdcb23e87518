#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "model/startup_load.h"
#include "platform/kernel32/files.h"
#include "platform/testing/faults.h"
#include "settings/column_flags.h"
#include "settings/proxy_settings.h"
#include "settings/settings_store.h"
#include "support/device_fixture.h"

namespace {

using tickwell_test::DeviceTest;

class StartupLoadTest : public DeviceTest {
protected:
    void Start() {
        ClearPortfolio();
        proxySettings = {};
        CreateDirectoryW(PortfolioFile::kDirectory, nullptr);
        LoadPortfolioAtStartup();
    }
};

TEST_F(StartupLoadTest, FirstStartSeedsOneRowAndTurnsEveryColumnOn) {
    Start();
    ASSERT_EQ(PortfolioRowCount(), 1);
    EXPECT_EQ(std::u16string(Portfolio[0].symbol), u"MSFT");
    EXPECT_EQ(std::u16string(Portfolio[0].exchangeCode), u"U");
    EXPECT_EQ(ReadHostFile("/PIVData/PIVData.PIV").size(), 84u);
    for (const char16_t* name : ColumnFlagNames) EXPECT_TRUE(ReadSettingFlag(name));
    EXPECT_TRUE(ReadSettingFlag(u"DeleteLines"));
    EXPECT_TRUE(ReadSettingFlag(u"OpenBrowser"));
    EXPECT_FALSE(SettingExists(u"Proxy"));
    EXPECT_FALSE(proxySettings.useProxy);
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(StartupLoadTest, DefaultsAreWrittenInTheirOrder) {
    Start();
    const std::string hive = ReadHostText("/registry.reg");
    std::size_t last = hive.find("\"Initialized\"=\"1\"");
    ASSERT_NE(last, std::string::npos);
    for (const char16_t* name : kFirstStartDefaults) {
        const std::size_t at = hive.find("\"" + tickwell_test::Narrow(name) + "\"=\"1\"");
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, last);
        last = at;
    }
}

// A data file without the settings beside it (lost, emptied): the file is loaded, not seeded,
// and the columns are the first start's rather than none at all.
TEST_F(StartupLoadTest, FirstStartWithAFileLoadsItAndWritesTheColumnDefaults) {
    AppendQuoteRow(u"IBM", u"U");
    AppendQuoteRow(u"RY", u"T");
    CreateDirectoryW(PortfolioFile::kDirectory, nullptr);
    HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
    SavePortfolio(file);
    CloseHandle(file);
    Start();
    EXPECT_EQ(PortfolioRowCount(), 2);
    EXPECT_EQ(std::u16string(Portfolio[1].symbol), u"RY");
    for (const char16_t* name : ColumnFlagNames) EXPECT_TRUE(ReadSettingFlag(name));
    EXPECT_TRUE(SettingExists(kFirstStartMarker));
    EXPECT_NE(ReadHostText("/registry.reg").find("\"CoName\"=\"1\""), std::string::npos);
}

// Beside an existing portfolio: a binary hive gives the defaults for this run and is never
// rewritten; a UTF-16LE export's own choices are read.
TEST_F(StartupLoadTest, AGarbageHiveKeepsItsBytesAndAUtf16HiveIsRead) {
    AppendQuoteRow(u"IBM", u"U");
    CreateDirectoryW(PortfolioFile::kDirectory, nullptr);
    HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
    SavePortfolio(file);
    CloseHandle(file);
    std::string garbage(400, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 91 + 7);
    WriteHostText("/registry.reg", garbage);
    Start();
    EXPECT_EQ(PortfolioRowCount(), 1);
    for (const char16_t* name : ColumnFlagNames) EXPECT_TRUE(ReadSettingFlag(name));
    EXPECT_EQ(ReadHostText("/registry.reg"), garbage);

    std::u16string exported =
        u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_LOCAL_MACHINE\\Software\\Quellmark\\PIV\\Settings]\r\n\"Initialized\"=\"1\"\r\n";
    for (const char16_t* name : ColumnFlagNames) {
        exported += u"\"" + std::u16string(name) +
                    (name == std::u16string(u"CoName") ? u"\"=\"0\"\r\n" : u"\"=\"1\"\r\n");
    }
    std::string bytes;
    for (char16_t unit : exported)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    WriteHostText("/registry.reg", bytes);
    Start();
    EXPECT_TRUE(ReadSettingFlag(u"LastPrice"));
    EXPECT_FALSE(ReadSettingFlag(u"CoName"));
}

TEST_F(StartupLoadTest, LaterStartsNeverSeedAgain) {
    Start();
    std::filesystem::remove(Host("/PIVData/PIVData.PIV"));
    Start();
    EXPECT_EQ(PortfolioRowCount(), 0);
    EXPECT_EQ(ReadHostFile("/PIVData/PIVData.PIV").size(), 0u);
    Start();  // a later start with an empty file
    EXPECT_EQ(PortfolioRowCount(), 0);
}

TEST_F(StartupLoadTest, LaterStartLoadsTheFileAndTheProxy) {
    Start();
    AppendQuoteRow(u"IBM", u"U");
    HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
    SavePortfolio(file);
    CloseHandle(file);
    WriteSettingText(u"Proxy", u"proxy.example");
    WriteSettingText(u"Port", u"");
    WriteSettingText(u"UseProxy", u"1");
    Start();
    EXPECT_EQ(PortfolioRowCount(), 2);
    EXPECT_TRUE(proxySettings.useProxy);
    EXPECT_EQ(std::u16string(proxySettings.proxyHost), u"proxy.example");
    EXPECT_EQ(std::u16string(proxySettings.proxyPort), u"");
}

TEST_F(StartupLoadTest, UnopenableFileGivesTwoMessagesAndAnEmptyPortfolio) {
    Start();
    HANDLE held = OpenPortfolioFile(PortfolioFileMode::load);  // another holder of the file
    messages_.clear();
    WriteSettingText(u"Proxy", u"p");
    WriteSettingText(u"Port", u"8");
    WriteSettingText(u"UseProxy", u"1");
    Start();
    CloseHandle(held);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Could not open the quote file",
                                                        "Could not find file size"}));
    EXPECT_EQ(PortfolioRowCount(), 0);
    EXPECT_FALSE(proxySettings.useProxy);  // the proxy is not read after that failure
}

// A start that read nothing runs with an empty table; saving it would lose the whole list.
TEST_F(StartupLoadTest, AStartWithoutMemoryForTheFileLeavesItForTheNextStart) {
    Start();  // the first start's file: MSFT
    const auto seeded = ReadHostFile("/PIVData/PIVData.PIV");
    messages_.clear();
    platform::testing::SetAllocationFailure(true);
    Start();
    platform::testing::ClearFaults();
    EXPECT_EQ(PortfolioRowCount(), 0);
    AppendQuoteRow(u"IBM", u"U");
    HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
    EXPECT_EQ(SavePortfolio(file), 0);
    CloseHandle(file);
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Not enough memory", "Could not write the quote file"}));
    EXPECT_EQ(ReadHostFile("/PIVData/PIVData.PIV"), seeded);

    Start();  // a start that reads the file saves again
    EXPECT_EQ(std::u16string(Portfolio[0].symbol), u"MSFT");
    file = OpenPortfolioFile(PortfolioFileMode::replace);
    EXPECT_EQ(SavePortfolio(file), 1);
    CloseHandle(file);
}

}  // namespace
