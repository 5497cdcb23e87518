// Saves killed at random moments: a process saves the portfolio (or writes settings) in a loop
// and is killed with SIGKILL, a thousand times. After every kill the data file holds the old
// or the new portfolio whole, the hive every value, and what a kill left beside them goes at
// the next open.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "platform/advapi32/registry.h"
#include "platform/kernel32/files.h"
#include "settings/settings_store.h"
#include "support/device_fixture.h"

namespace {

constexpr int kKills = 1000;

class CrashConsistencyTest : public tickwell_test::DeviceTest {
protected:
    // Runs `work` in a child that is killed after a random pause, `kKills` times; `check`
    // looks at what is on disk after each kill. Returns how many kills left a staging file.
    template <typename Work, typename Check>
    int KillRepeatedly(const std::string& directory, Work work, Check check) {
        std::mt19937 random(20061202);
        int leftBehind = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            const pid_t child = ::fork();
            if (child == 0) {
                for (;;) work();
            }
            ::usleep(static_cast<useconds_t>(random() % 4000));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            leftBehind += StagingFiles(directory) > 0 ? 1 : 0;
            check();
            if (HasFatalFailure()) return leftBehind;
        }
        return leftBehind;
    }

    int StagingFiles(const std::string& directory) const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(Host(directory))) {
            count += entry.path().filename().string().find(".tmp") != std::string::npos;
        }
        return count;
    }

    template <std::size_t N>
    static bool HoldsEvery(const char16_t* const (&names)[N]) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SettingsStore::kKey, 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        bool all = true;
        for (const char16_t* name : names) {
            char16_t data[64] = {};
            DWORD size = sizeof data;
            all = all && RegQueryValueExW(key, name, nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
        }
        RegCloseKey(key);
        return all;
    }

    static void Fill(int rows) {
        ClearPortfolio();
        for (int i = 0; i < rows; ++i) {
            const std::u16string symbol = u"S" + std::u16string(1, char16_t(u'A' + i));
            const int row = AppendQuoteRow(symbol.c_str(), u"U");
            SetText(Portfolio[row].companyName, u"A company of some length");
        }
    }
    std::vector<unsigned char> SavedBytes(int rows) {
        Fill(rows);
        const HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
        SavePortfolio(file);
        CloseHandle(file);
        return ReadHostFile("/PIVData/PIVData.PIV");
    }
};

TEST_F(CrashConsistencyTest, TheDataFileIsTheOldOrTheNewPortfolioAfterEveryKill) {
    CreateDirectoryW(u"/PIVData", nullptr);
    const std::vector<unsigned char> small = SavedBytes(3);
    const std::vector<unsigned char> large = SavedBytes(150);
    int saves = 0;
    const int leftBehind = KillRepeatedly(
        "/PIVData",
        [&] {
            Fill(++saves % 2 ? 3 : 150);
            const HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
            SavePortfolio(file);
            CloseHandle(file);
        },
        [&] {
            const auto bytes = ReadHostFile("/PIVData/PIVData.PIV");
            ASSERT_TRUE(bytes == small || bytes == large) << bytes.size() << " bytes";
            // The next start's open removes what the kill left.
            const HANDLE file = OpenPortfolioFile(PortfolioFileMode::load);
            ClearPortfolio();
            LoadPortfolio(file);
            CloseHandle(file);
            ASSERT_TRUE(PortfolioRowCount() == 3 || PortfolioRowCount() == 150);
            ASSERT_EQ(StagingFiles("/PIVData"), 0);
        });
    EXPECT_TRUE(messages_.records().empty());
    std::cout << "data file: " << kKills << " kills survived, " << leftBehind
              << " left a staging file behind, every one removed at the next open\n";
}

TEST_F(CrashConsistencyTest, TheHiveHoldsEveryValueAfterEveryKill) {
    const char16_t* const names[] = {u"Exchange", u"Proxy", u"Port", u"UseProxy", u"CoName"};
    for (const char16_t* name : names) WriteSettingText(name, u"start");
    int writes = 0;
    const int leftBehind = KillRepeatedly(
        "/",
        [&] {
            ++writes;
            const std::u16string text(static_cast<std::size_t>(1 + writes * 7 % 45), u'v');
            WriteSettingText(names[writes % 5], text.c_str());
        },
        [&] {
            ASSERT_TRUE(HoldsEvery(names));
            // The next start's first read removes what the kill left.
            const pid_t nextStart = ::fork();
            if (nextStart == 0) _exit(HoldsEvery(names) ? 0 : 1);
            int status = -1;
            ::waitpid(nextStart, &status, 0);
            ASSERT_EQ(status, 0);
            ASSERT_EQ(StagingFiles("/"), 0);
        });
    std::cout << "hive: " << kKills << " kills survived, " << leftBehind
              << " left a staging file behind, every one removed at the next start\n";
}

}  // namespace
