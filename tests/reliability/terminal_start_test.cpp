// The viewer in a real pseudo-terminal: what it says and ends with when it has no terminal or
// one it cannot draw on, and a whole redraw after the terminal was resized while a refresh
// held the loop.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <string>

#include "support/device_fixture.h"
#include "support/scripted_server.h"

namespace {

struct Child {
    pid_t pid = -1;
    int terminal = -1;
    std::string output;
    int status = -1;

    // Reads until `text` has come (true) or the child ended and said all (false).
    bool ReadUntil(const std::string& text) {
        for (int quiet = 0; quiet < 600 && output.find(text) == std::string::npos;) {
            pollfd p{terminal, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) {
                ++quiet;
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(terminal, buffer, sizeof buffer);
            if (n <= 0) break;
            output.append(buffer, static_cast<std::size_t>(n));
        }
        return output.find(text) != std::string::npos;
    }
    int Wait() {
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

Child Launch(const char* term, unsigned short columns, unsigned short rows) {
    Child child;
    winsize size{rows, columns, 0, 0};
    child.pid = ::forkpty(&child.terminal, nullptr, nullptr, &size);
    if (child.pid == 0) {
        ::setenv("TERM", term, 1);
        ::execl(TICKWELL_BIN, TICKWELL_BIN, static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

using TerminalStartTest = tickwell_test::DeviceTest;

TEST_F(TerminalStartTest, WithoutATerminalOrWithADumbOneItSaysSoAndEndsWith1) {
    int pipes[2];
    ASSERT_EQ(::pipe(pipes), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, STDIN_FILENO);
        ::dup2(pipes[1], STDOUT_FILENO);
        ::dup2(pipes[1], STDERR_FILENO);
        ::execl(TICKWELL_BIN, TICKWELL_BIN, static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(pipes[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipes[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    ::close(pipes[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << said;
    EXPECT_NE(said.find("needs a terminal"), std::string::npos) << said;

    for (const char* term : {"dumb", "no-such-terminal"}) {
        Child dumb = Launch(term, 80, 24);
        dumb.ReadUntil("\n");
        EXPECT_EQ(dumb.Wait(), 1) << dumb.output;
        EXPECT_NE(dumb.output.find(std::string("TERM=") + term), std::string::npos) << dumb.output;
        EXPECT_EQ(dumb.output.find('\x1b'), std::string::npos) << "no escape sequence";
        ::close(dumb.terminal);
    }
}

TEST_F(TerminalStartTest, AResizeWhileARefreshBlocksRedrawsTheWholeScreen) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    struct Releaser {  // the server's thread must never be left waiting
        std::promise<void>& promise;
        bool done = false;
        void Release() {
            if (!done) promise.set_value();
            done = true;
        }
        ~Releaser() { Release(); }
    } releaser{release};
    tickwell_test::ScriptedServer server([released](int, const std::string&) {
        released.wait();
        tickwell_test::ScriptedReply reply;
        reply.bytes = tickwell_test::HttpReplyBytes(200, "\"MSFT\",1,2,3,4.25\r\n");
        return reply;
    });
    ::setenv("TICKWELL_CONNECT_TO", ("::127.0.0.1:" + std::to_string(server.port())).c_str(), 1);
    Child viewer = Launch("xterm", 100, 30);
    ASSERT_TRUE(viewer.ReadUntil("Tools")) << viewer.output;
    ASSERT_EQ(::write(viewer.terminal, "\x1bOP", 3), 3);  // F1: the refresh blocks
    for (int i = 0; i < 600 && server.requests().empty(); ++i) ::poll(nullptr, 0, 50);
    ASSERT_EQ(server.requests().size(), 1u);
    for (unsigned short columns : {80, 100}) {
        winsize size{static_cast<unsigned short>(columns == 80 ? 24 : 30), columns, 0, 0};
        ::ioctl(viewer.terminal, TIOCSWINSZ, &size);
    }
    viewer.output.clear();  // the bar is not drawn while the loop is held
    releaser.Release();
    EXPECT_TRUE(viewer.ReadUntil("Tools")) << "the bar was not drawn again";
    // Ctrl+L sends every cell again too (another program may have written over them).
    ASSERT_TRUE(viewer.ReadUntil("4.25"));
    viewer.output.clear();
    ASSERT_EQ(::write(viewer.terminal, "\x0c", 1), 1);
    EXPECT_TRUE(viewer.ReadUntil("Tools")) << "Ctrl+L drew nothing";
    ASSERT_EQ(::write(viewer.terminal, "\x11", 1), 1);  // Ctrl+Q
    EXPECT_EQ(viewer.Wait(), 0);
    ::close(viewer.terminal);
    ::unsetenv("TICKWELL_CONNECT_TO");
}

}  // namespace
