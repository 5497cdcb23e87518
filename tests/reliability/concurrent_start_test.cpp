// Ten viewers started at the same moment on one device root, each in a terminal of its own:
// one keeps running; the others bring it forward, say so in one line and end with 0; the
// data file and the hive are those of one first start.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/device_fixture.h"

namespace {

constexpr int kViewers = 10;

struct Viewer {
    pid_t pid = -1;
    int terminal = -1;
    std::string output;
    bool ended = false;
    bool drained = false;
    int status = 0;
};

class ConcurrentStartTest : public tickwell_test::DeviceTest {
protected:
    void Launch(Viewer& viewer) {
        winsize size{24, 80, 0, 0};
        viewer.pid = ::forkpty(&viewer.terminal, nullptr, nullptr, &size);
        if (viewer.pid == 0) {
            ::setenv("TERM", "xterm", 1);
            ::execl(TICKWELL_BIN, TICKWELL_BIN, static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    // Reads what every viewer wrote and notes those that ended, until `done` or until the
    // viewers have been quiet for a generous while (a hung viewer must fail the test, not hang
    // it).
    template <typename Done>
    void Pump(std::vector<Viewer>& viewers, Done done) {
        constexpr int kQuietPollsAllowed = 1200;  // of 50 ms each
        int quietPolls = 0;
        while (!done() && quietPolls < kQuietPollsAllowed) {
            std::vector<pollfd> fds;
            // A terminal whose viewer ended and that has nothing more to read is left out.
            for (Viewer& v : viewers) fds.push_back({v.drained ? -1 : v.terminal, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), 50) == 0) ++quietPolls;
            for (std::size_t i = 0; i < viewers.size(); ++i) {
                Viewer& v = viewers[i];
                if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                    char buffer[4096];
                    const ssize_t n = ::read(v.terminal, buffer, sizeof buffer);
                    if (n > 0) v.output.append(buffer, static_cast<std::size_t>(n));
                    if (n <= 0 && v.ended) v.drained = true;
                }
                if (!v.ended && ::waitpid(v.pid, &v.status, WNOHANG) == v.pid) v.ended = true;
            }
        }
    }
};

TEST_F(ConcurrentStartTest, OneKeepsRunningTheOthersEndWithZeroAndTheirLine) {
    std::vector<Viewer> viewers(kViewers);
    for (Viewer& v : viewers) Launch(v);
    const auto endedCount = [&] {
        int n = 0;
        for (const Viewer& v : viewers) n += v.ended;
        return n;
    };
    Pump(viewers, [&] { return endedCount() >= kViewers - 1; });
    ASSERT_EQ(endedCount(), kViewers - 1);
    Viewer* running = nullptr;
    for (Viewer& v : viewers) {
        if (!v.ended) {
            running = &v;
            continue;
        }
        EXPECT_TRUE(WIFEXITED(v.status) && WEXITSTATUS(v.status) == 0) << v.output;
        std::size_t lines = 0;
        for (std::size_t at = v.output.find("already running"); at != std::string::npos;
             at = v.output.find("already running", at + 1))
            ++lines;
        EXPECT_EQ(lines, 1u) << v.output;
    }
    ASSERT_NE(running, nullptr);
    // The one left is the viewer: its screen is up. Ctrl+Q ends it with 0.
    // (curses writes "F1" and its label with attributes between them)
    Pump(viewers, [&] { return running->output.find("Refresh") != std::string::npos; });
    EXPECT_NE(running->output.find("Refresh"), std::string::npos) << running->output;
    const char ctrlQ = 0x11;
    ASSERT_EQ(::write(running->terminal, &ctrlQ, 1), 1);
    Pump(viewers, [&] { return running->ended; });
    ASSERT_TRUE(running->ended);
    EXPECT_TRUE(WIFEXITED(running->status) && WEXITSTATUS(running->status) == 0);
    for (Viewer& v : viewers) ::close(v.terminal);

    // One first start's files: MSFT alone, the marker and the defaults once each.
    EXPECT_EQ(ReadHostFile("/PIVData/PIVData.PIV").size(), 84u);
    const std::string hive = ReadHostText("/registry.reg");
    std::size_t markers = 0;
    for (std::size_t at = hive.find("\"Initialized\""); at != std::string::npos;
         at = hive.find("\"Initialized\"", at + 1))
        ++markers;
    EXPECT_EQ(markers, 1u) << hive;
    EXPECT_NE(hive.find("\"CoName\"=\"1\""), std::string::npos);
}

TEST_F(ConcurrentStartTest, ASecondStartBesideAStoppedFirstSaysSoAndEnds) {
    std::vector<Viewer> viewers;
    viewers.reserve(2);  // the references below stay valid
    viewers.emplace_back();
    Launch(viewers[0]);
    Viewer& first = viewers[0];
    Pump(viewers, [&] { return first.output.find("Refresh") != std::string::npos; });
    ASSERT_NE(first.output.find("Refresh"), std::string::npos) << first.output;
    ASSERT_EQ(::kill(first.pid, SIGSTOP), 0);
    viewers.emplace_back();
    Launch(viewers[1]);
    Viewer& second = viewers[1];
    Pump(viewers, [&] { return second.ended; });
    Pump(viewers, [&] { return second.drained; });  // its last words, read whole
    ::kill(first.pid, SIGCONT);
    ASSERT_TRUE(second.ended) << second.output;
    EXPECT_TRUE(WIFEXITED(second.status) && WEXITSTATUS(second.status) == 0)
        << "status " << second.status << ": " << second.output;
    EXPECT_NE(second.output.find("already running"), std::string::npos) << second.output;
    EXPECT_NE(second.output.find("did not answer"), std::string::npos) << second.output;
    const char ctrlQ = 0x11;
    ASSERT_EQ(::write(first.terminal, &ctrlQ, 1), 1);
    Pump(viewers, [&] { return first.ended; });
    EXPECT_TRUE(first.ended);
    for (Viewer& v : viewers) ::close(v.terminal);
}

}  // namespace
