#include "pty_session.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

PtySession::PtySession(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                       int columns, int rows) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    started_ = Clock::now();
    pid_ = ::forkpty(&terminal_, nullptr, nullptr, &size);
    if (pid_ == 0) {
        ::setenv("TERM", "xterm-256color", 1);
        for (const std::string& entry : env) ::putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        _exit(127);
    }
}

PtySession::~PtySession() {
    if (pid_ > 0 && !ended_) {
        ::kill(pid_, SIGTERM);
        if (!WaitExit(2)) ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (terminal_ >= 0) ::close(terminal_);
}

bool PtySession::ReadSome(int timeoutMs) {
    pollfd fd{terminal_, POLLIN, 0};
    if (::poll(&fd, 1, timeoutMs) <= 0) return false;
    char buffer[65536];
    const ssize_t n = ::read(terminal_, buffer, sizeof buffer);
    if (n <= 0) return false;
    output_.append(buffer, static_cast<std::size_t>(n));
    return true;
}

bool PtySession::WaitFor(const std::string& marker, double seconds, std::size_t from) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (output_.find(marker, from) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        ReadSome(static_cast<int>(left.count()));
    }
    arrived_ = Clock::now();
    return true;
}

void PtySession::Drain(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return;
        ReadSome(static_cast<int>(left.count()));
    }
}

void PtySession::Send(const std::string& bytes) {
    if (::write(terminal_, bytes.data(), bytes.size()) < 0) return;
}

bool PtySession::WaitExit(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!ended_) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            ended_ = true;
            break;
        }
        if (Clock::now() >= deadline) return false;
        ReadSome(10);
    }
    return true;
}

long PtySession::CpuTicks() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = std::atol(field.c_str());
        if (i == 15) {
            stime = std::atol(field.c_str());
            break;
        }
    }
    return utime + stime;
}

long PtySession::PeakResidentKb() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}
