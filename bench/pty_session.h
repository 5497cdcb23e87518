// A program run in a pseudo-terminal of its own, as a user's terminal runs it: what it writes
// is read as it comes, keys are bytes sent to it, and /proc tells its CPU time and memory.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

class PtySession {
public:
    using Clock = std::chrono::steady_clock;

    // Starts `argv` with `env` added to the environment, in a terminal of that size.
    PtySession(const std::vector<std::string>& argv, const std::vector<std::string>& env,
               int columns = 80, int rows = 24);
    ~PtySession();
    PtySession(const PtySession&) = delete;
    PtySession& operator=(const PtySession&) = delete;

    // Reads until the output after `from` holds `marker`; false after `seconds` without it.
    // The moment the marker arrived is `arrived()`.
    bool WaitFor(const std::string& marker, double seconds, std::size_t from = 0);
    // Reads whatever comes for `seconds`.
    void Drain(double seconds);
    void Send(const std::string& bytes);
    // Waits for the program to end; false when it is still running after `seconds`.
    bool WaitExit(double seconds);

    Clock::time_point started() const { return started_; }
    Clock::time_point arrived() const { return arrived_; }
    const std::string& output() const { return output_; }
    pid_t pid() const { return pid_; }
    // utime + stime, in clock ticks; the peak resident set (VmHWM), in kB.
    long CpuTicks() const;
    long PeakResidentKb() const;

private:
    bool ReadSome(int timeoutMs);

    pid_t pid_ = -1;
    int terminal_ = -1;
    bool ended_ = false;
    std::string output_;
    Clock::time_point started_;
    Clock::time_point arrived_;
};
