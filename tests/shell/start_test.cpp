// The viewer's start on the headless device: one copy, the MainWindow with its menu bar,
// the message loop and the ways out.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/user32/message_loop.h"
#include "platform/user32/resources.h"
#include "platform/testing/headless.h"
#include "platform/user32/window.h"
#include "resources/app_resources.h"
#include "shell/app_state.h"
#include "shell/win_main.h"

namespace {

using platform::testing::HeadlessDevice;

class StartTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tickwell-start-XXXXXX";
        root_ = ::mkdtemp(pattern);
        ::setenv("TICKWELL_DEVICE", root_.c_str(), 1);
        mainWindow = menuBarWindow = nullptr;
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    // Every file under the device root with its size and content.
    std::string Snapshot() const {
        std::string all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
            all += entry.path().string() + "\n";
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return all;
    }

    int Start(const ResourceTable& resources = AppResources()) {
        return WinMain(RegisterModule(&resources), nullptr, nullptr, SW_SHOW);
    }

    std::string root_;
    HeadlessDevice device_{80, 24};
};

TEST_F(StartTest, ShowsTitleAndMenuBarAndQuitsWithCtrlQ) {
    device_
        .Check([&] {
            EXPECT_NE(device_.Row(0).find(u"PIV"), std::u16string::npos);
            EXPECT_NE(device_.Row(0).find(u"[ok]"), std::u16string::npos);
            EXPECT_NE(device_.Row(22).find(u"F1 Refresh"), std::u16string::npos);
            RECT r{};
            GetWindowRect(mainWindow, &r);
            EXPECT_EQ(r.top, 26);
            // The list's build sizes the window to what the soft input panel leaves: the
            // screen under the navigation bar, less 24 pixels.
            EXPECT_EQ(r.bottom, 26 + (24 * 13 - 26 - 24));
            EXPECT_TRUE(IsWindow(menuBarWindow));
        })
        .Key(VK_F2)
        .Check([&] { EXPECT_NE(device_.Text().find(u"Quote Options"), std::u16string::npos); })
        .Key(VK_ESCAPE)
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(IsWindow(menuBarWindow));
}

TEST_F(StartTest, TheOkButtonQuits) {
    device_.TapText(u"[ok]");
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(device_.pending(), 0u);
}

TEST_F(StartTest, WithoutAMenuBarItSaysSoAndRunsOn) {
    ResourceTable withoutBar = AppResources();
    withoutBar.menuBars = {};
    device_
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"Could not create menubar"), std::u16string::npos);
            EXPECT_NE(device_.Row(0).find(u"ERROR"), std::u16string::npos);
        })
        .Key(VK_RETURN)
        .Check([&] {
            EXPECT_EQ(menuBarWindow, nullptr);
            EXPECT_EQ(device_.Row(22).find(u"F1 Refresh"), std::u16string::npos);
            RECT r{};
            GetWindowRect(mainWindow, &r);
            EXPECT_EQ(r.bottom, 26 + (24 * 13 - 26 - 24));
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(withoutBar), 0);
}

TEST_F(StartTest, ASecondStartBringsTheFirstForwardAndEndsWithZero) {
    device_
        .Check([&] {
            const HWND first = mainWindow;
            EXPECT_EQ(Start(), 0);  // a second start, while the first runs
            EXPECT_EQ(mainWindow, first);
            EXPECT_EQ(FindWindowW(u"PIV", u"PIV"), first);
            EXPECT_EQ(GetForegroundWindow(), first);
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(StartTest, ASecondProcessFindsTheFirstAndTouchesNoFile) {
    int err[2];
    ASSERT_EQ(::pipe(err), 0);
    pid_t child = -1;
    std::string before;
    device_
        .Check([&] {
            before = Snapshot();
            child = ::fork();
            if (child == 0) {
                ::dup2(err[1], STDERR_FILENO);
                ::execl(TICKWELL_BIN, TICKWELL_BIN, static_cast<char*>(nullptr));
                _exit(127);
            }
        })
        .Serve(5000)
        .Serve(5000)
        .Serve(5000)
        .Check([&] {
            int status = -1;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            EXPECT_EQ(device_.flashes(), 1);
            EXPECT_EQ(device_.bells(), 1);
            EXPECT_EQ(Snapshot(), before);  // the second start wrote nothing
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    ::close(err[1]);
    char line[512] = {};
    const ssize_t n = ::read(err[0], line, sizeof line - 1);
    ::close(err[0]);
    ASSERT_GT(n, 0);
    EXPECT_NE(std::string(line).find("already running"), std::string::npos) << line;
    EXPECT_EQ(std::string(line).find('\n'), std::string(line).size() - 1) << "one line";
}

}  // namespace
