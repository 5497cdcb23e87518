// The device's other services: program starts, page routing, local time, the busy mark.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kernel32/program_launch.h"
#include "platform/kernel32/clock.h"
#include "platform/kernel32/program.h"
#include "platform/testing/headless.h"
#include "winsys/renderer.h"

namespace {

using platform::detail::ChooseBrowser;
using platform::detail::RouteAddress;

class EnvironmentTest : public ::testing::Test {
protected:
    void Set(const char* name, const char* value) {
        saved_.emplace_back(name, std::getenv(name) ? std::getenv(name) : "\x01");
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    void TearDown() override {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second == "\x01")
                ::unsetenv(it->first.c_str());
            else
                ::setenv(it->first.c_str(), it->second.c_str(), 1);
        }
    }
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST(Programs, PageAddressesAreRoutedLikeTheHttpClient) {
    const std::string route = "download.finance.example:80:127.0.0.1:4444,::127.0.0.1:5555";
    EXPECT_EQ(RouteAddress("http://download.finance.example/d/quotes.csv?s=A", route),
              "http://127.0.0.1:4444/d/quotes.csv?s=A");
    EXPECT_EQ(RouteAddress("http://m.example/raw?dp=news&tn=_MSFT", route),
              "http://127.0.0.1:5555/raw?dp=news&tn=_MSFT");
    EXPECT_EQ(RouteAddress("www.quellmark.example/pdapage.htm", route),
              "http://127.0.0.1:5555/pdapage.htm");
    EXPECT_EQ(RouteAddress("http://m.example:8080/x", "m.example:80:1.2.3.4:9"),
              "http://m.example:8080/x");
    EXPECT_EQ(RouteAddress("http://m.example/x", ""), "http://m.example/x");
    EXPECT_EQ(RouteAddress("file:///help/PIV.htm#Main", route), "file:///help/PIV.htm#Main");
}

TEST_F(EnvironmentTest, TheBrowserIsBrowserThenXdgOpenThenATerminalBrowser) {
    Set("BROWSER", "w3m -o confirm_qq=false");
    Set("DISPLAY", nullptr);
    Set("WAYLAND_DISPLAY", nullptr);
    auto command = ChooseBrowser("http://x/");
    EXPECT_EQ(command.argv,
              (std::vector<std::string>{"w3m", "-o", "confirm_qq=false", "http://x/"}));
    EXPECT_TRUE(command.interactive);
    Set("BROWSER", "firefox %s:chromium");
    Set("DISPLAY", ":0");
    command = ChooseBrowser("http://x/");
    EXPECT_EQ(command.argv, (std::vector<std::string>{"firefox", "http://x/"}));
    EXPECT_FALSE(command.interactive);
    // Without $BROWSER and without a graphical session: a terminal browser from PATH, or none.
    Set("BROWSER", nullptr);
    Set("DISPLAY", nullptr);
    const std::string dir = std::filesystem::temp_directory_path() / "tickwell-path-test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/lynx") << "#!/bin/sh\n";
    std::filesystem::permissions(dir + "/lynx", std::filesystem::perms::owner_all);
    Set("PATH", dir.c_str());
    command = ChooseBrowser("http://x/");
    EXPECT_EQ(command.argv, (std::vector<std::string>{"lynx", "http://x/"}));
    EXPECT_TRUE(command.interactive);
    std::ofstream(dir + "/w3m") << "#!/bin/sh\n";
    std::filesystem::permissions(dir + "/w3m", std::filesystem::perms::owner_all);
    command = ChooseBrowser("http://x/");  // w3m first; "q" quits it at once
    EXPECT_EQ(command.argv,
              (std::vector<std::string>{"w3m", "-o", "confirm_qq=false", "-o", "use_history=false",
                                        "-o", "save_hist=false", "http://x/"}));
    std::filesystem::remove_all(dir);
    EXPECT_TRUE(ChooseBrowser("http://x/").argv.empty());
}

TEST_F(EnvironmentTest, CreateProcessStartsTheBrowserForIexploreOnly) {
    platform::testing::HeadlessDevice device;
    Set("BROWSER", "browse");
    Set("TICKWELL_CONNECT_TO", "::127.0.0.1:4444");
    char16_t line[] = u"http://m.example/raw?dp=page&pg=finance/quote_chart&s=RY.TO";
    EXPECT_TRUE(CreateProcessW(u"iexplore.exe", line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, nullptr));
    EXPECT_FALSE(CreateProcessW(u"cmd.exe", line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                nullptr, nullptr));
    char16_t help[] = u"file:../../etc/passwd";
    EXPECT_FALSE(CreateProcessW(u"peghelp.exe", help, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                nullptr, nullptr));
    EXPECT_EQ(device.launches(),
              std::vector<std::string>{
                  "browse http://127.0.0.1:4444/raw?dp=page&pg=finance/quote_chart&s=RY.TO"});
}

TEST(DeviceServices, LocalTimeComesFromTheDevicesClock) {
    platform::testing::HeadlessDevice device(60, 24, 1796634300000);  // 2026-12-07 09:05
    device.Advance(60 * 60 * 1000 + 5 * 60 * 1000).Check([] {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        EXPECT_EQ(t.wYear, 2026);
        EXPECT_EQ(t.wMonth, 12);
        EXPECT_EQ(t.wDay, 7);
        EXPECT_EQ(t.wDayOfWeek, 1);
        EXPECT_EQ(t.wHour, 10);
        EXPECT_EQ(t.wMinute, 10);
    });
    device.RunMessageLoop();
    EXPECT_EQ(device.pending(), 0u);
}

TEST(DeviceServices, TheBusyMarkShowsAtOnce) {
    platform::testing::HeadlessDevice device(60, 24);
    platform::detail::SetBusy(true);
    EXPECT_NE(device.Row(0).find(u"busy"), std::u16string::npos);
    platform::detail::SetBusy(false);
    EXPECT_EQ(device.Row(0).find(u"busy"), std::u16string::npos);
}

}  // namespace
