// The viewer as its user meets it, in a pseudo-terminal, on a device root of 200 rows:
//   viewer_bench start TICKWELL BARE ROUNDS   exec to the first complete frame, beside a bare
//                                             curses program drawing the same bars; medians
//   viewer_bench idle TICKWELL SECONDS        CPU ticks while it sits, without and then with a
//                                             one-minute refresh period
//   viewer_bench memory TICKWELL PORT         peak resident set after start and one refresh
//   viewer_bench root DIR                     writes the 200-row device root of the start
// Prints "name value" lines.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_portfolio.h"
#include "pty_session.h"

namespace {

// The end of the first frame: the menu bar's last item, drawn last.
const std::string kFrameDone = " Help \xE2\x96\xB4 \xE2\x94\x82";
constexpr const char* kCtrlQ = "\x11";
constexpr const char* kF1 = "\x1BOP";
constexpr const char* kF2 = "\x1BOQ";

// A device root of 200 rows, removed when the benchmark ends.
class BenchRoot {
public:
    BenchRoot() {
        char pattern[] = "/tmp/tickwell-bench-XXXXXX";
        if (::mkdtemp(pattern) && WriteBenchDeviceRoot(pattern)) path_ = pattern;
    }
    ~BenchRoot() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double MillisecondsToFrame(PtySession& session) {
    if (!session.WaitFor(kFrameDone, 20)) return -1;
    return std::chrono::duration<double, std::milli>(session.arrived() - session.started()).count();
}

int Start(const std::string& tickwell, const std::string& bare, int rounds) {
    const BenchRoot bench;
    const std::string& root = bench.path();
    if (root.empty()) return 1;
    const std::vector<std::string> env = {"TICKWELL_DEVICE=" + root};
    std::vector<double> viewer, reference;
    for (int round = 0; round < rounds + 1; ++round) {
        double bareMs = 0, viewerMs = 0;
        {
            PtySession session({bare}, {});
            bareMs = MillisecondsToFrame(session);
            session.WaitExit(5);
        }
        {
            PtySession session({tickwell}, env);
            viewerMs = MillisecondsToFrame(session);
            session.Send(kCtrlQ);
            session.WaitExit(5);
        }
        if (bareMs < 0 || viewerMs < 0) {
            std::fprintf(stderr, "no complete frame\n");
            return 1;
        }
        if (round == 0) continue;  // warm-up: the file cache
        reference.push_back(bareMs);
        viewer.push_back(viewerMs);
    }
    std::printf("start_ms %.2f\nbare_ms %.2f\n", Median(viewer), Median(reference));
    return 0;
}

// Ticks over `seconds` after a second to settle.
long TicksWhileIdle(PtySession& session, double seconds) {
    session.Drain(1);
    const long before = session.CpuTicks();
    session.Drain(seconds);
    return session.CpuTicks() - before;
}

int Idle(const std::string& tickwell, double seconds) {
    const BenchRoot bench;
    const std::string& root = bench.path();
    if (root.empty()) return 1;
    PtySession session({tickwell}, {"TICKWELL_DEVICE=" + root});
    if (!session.WaitFor(kFrameDone, 20)) return 1;
    const long idle = TicksWhileIdle(session, seconds);
    // Tools > Refresh Settings, one minute, OK, and OK to its message.
    std::size_t from = session.output().size();
    session.Send(kF2);
    if (!session.WaitFor("efresh Settings", 5, from)) return 1;
    from = session.output().size();
    session.Send("r");
    if (!session.WaitFor("Refresh every", 5, from)) return 1;
    session.Send("1\r");
    from = session.output().size();
    if (!session.WaitFor("every 1 minutes", 5, from)) return 1;
    session.Send("\r");
    const long withTimer = TicksWhileIdle(session, seconds);
    session.Send(kCtrlQ);
    session.WaitExit(5);
    std::printf("idle_ticks %ld\nidle_timer_ticks %ld\n", idle, withTimer);
    return 0;
}

int Memory(const std::string& tickwell, const std::string& port) {
    const BenchRoot bench;
    const std::string& root = bench.path();
    if (root.empty()) return 1;
    const std::string data = root + "/PIVData/PIVData.PIV";
    struct stat before {};
    ::stat(data.c_str(), &before);
    PtySession session({tickwell},
                       {"TICKWELL_DEVICE=" + root, "TICKWELL_CONNECT_TO=::127.0.0.1:" + port});
    if (!session.WaitFor(kFrameDone, 20)) return 1;
    session.Send(kF1);
    // Done when the data file has been rewritten with the quotes and the screen drawn again.
    for (int i = 0; i < 200; ++i) {
        struct stat now {};
        if (::stat(data.c_str(), &now) == 0 && now.st_size != before.st_size) break;
        session.Drain(0.05);
    }
    session.Drain(1);
    const long peak = session.PeakResidentKb();
    session.Send(kCtrlQ);
    session.WaitExit(5);
    std::printf("peak_rss_kb %ld\n", peak);
    return peak > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "start" && argc == 5)
        return Start(argv[2], argv[3], std::max(1, std::atoi(argv[4])));
    if (mode == "idle" && argc == 4) return Idle(argv[2], std::atof(argv[3]));
    if (mode == "memory" && argc == 4) return Memory(argv[2], argv[3]);
    // The 200-row device root the start is measured on, to look at a start by hand.
    if (mode == "root" && argc == 3) return WriteBenchDeviceRoot(argv[2]) ? 0 : 1;
    std::fprintf(stderr,
                 "usage: viewer_bench start TICKWELL BARE ROUNDS | idle TICKWELL SECONDS | "
                 "memory TICKWELL PORT | root DIR\n");
    return 2;
}
