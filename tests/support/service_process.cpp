#include "support/service_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace tickwell_test {

int Connect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);  // nothing listens there now
    return ntohs(address.sin_port);
}

bool SendAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

namespace {

// Reads what arrives into `buffer` until `complete` says a reply is whole, the peer closes,
// or time runs out.
class Reader {
public:
    Reader(int fd, int timeoutMs)
        : fd_(fd),
          deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}

    // Reads one reply from the buffered stream.
    HttpReply ReadReply() {
        HttpReply reply;
        std::size_t headerEnd;
        while ((headerEnd = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (!Fill()) return reply;
        }
        reply.headers = buffer_.substr(0, headerEnd);
        std::sscanf(reply.headers.c_str(), "HTTP/%*s %d", &reply.status);
        buffer_.erase(0, headerEnd + 4);
        if (!buffer_.empty()) reply.bodyReads.push_back(buffer_.size());
        reads_ = &reply.bodyReads;
        const std::string lower = Lower(reply.headers);
        const std::size_t length = lower.find("content-length:");
        if (length != std::string::npos) {
            const std::size_t size = std::strtoul(lower.c_str() + length + 15, nullptr, 10);
            while (buffer_.size() < size) {
                if (!Fill()) {
                    reply.body = buffer_;
                    reads_ = nullptr;
                    return reply;
                }
            }
            reply.body = buffer_.substr(0, size);
            buffer_.erase(0, size);
            reply.ok = true;
        } else {
            while (Fill()) {
            }
            reply.body = buffer_;
            reply.ok = true;
        }
        reads_ = nullptr;
        return reply;
    }

private:
    static std::string Lower(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }

    bool Fill() {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline_ - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
        char chunk[8192];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<std::size_t>(n));
        if (reads_) reads_->push_back(static_cast<std::size_t>(n));
        return true;
    }

    int fd_;
    std::vector<std::size_t>* reads_ = nullptr;
    std::chrono::steady_clock::time_point deadline_;
    std::string buffer_;
};

}  // namespace

ServiceProcess::ServiceProcess(const std::vector<std::string>& args) {
    Start(args);
}

ServiceProcess::ServiceProcess(const std::vector<std::string>& args, const std::string& logPath,
                               int descriptors)
    : logPath_(logPath), descriptors_(descriptors) {
    Start(args);
}

ServiceProcess::ServiceProcess(ServiceProcess&& other) noexcept
    : pid_(other.pid_),
      port_(other.port_),
      logPath_(std::move(other.logPath_)),
      descriptors_(other.descriptors_) {
    other.pid_ = -1;
}

ServiceProcess ServiceProcess::Logged(const std::vector<std::string>& args) {
    return Limited(0, args);
}

ServiceProcess ServiceProcess::Limited(int descriptors, const std::vector<std::string>& args) {
    char pattern[] = "/tmp/tickwell-service-log-XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd >= 0) ::close(fd);
    return ServiceProcess(args, pattern, descriptors);
}

void ServiceProcess::Start(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        if (descriptors_ > 0) {
            const rlimit limit{static_cast<rlim_t>(descriptors_),
                               static_cast<rlim_t>(descriptors_)};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
        std::vector<std::string> all = {TICKWELL_QUOTES_BIN, "--port", "0"};
        if (logPath_.empty()) {
            all.push_back("--quiet");
        } else {
            const int log = ::open(logPath_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            if (log >= 0) ::dup2(log, STDERR_FILENO);
        }
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        _exit(127);
    }
    ::close(out[1]);
    std::string line;
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (::poll(&p, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(out[0]);
    port_ = line.empty() ? -1 : std::atoi(line.c_str());
}

std::vector<std::string> ServiceProcess::log() const {
    std::vector<std::string> lines;
    std::ifstream in(logPath_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> ServiceProcess::WaitForLog(std::size_t lines, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::vector<std::string> now = log();
        if (now.size() >= lines || std::chrono::steady_clock::now() >= deadline) return now;
        ::poll(nullptr, 0, 10);
    }
}

std::vector<LoggedRequest> ParseLog(const std::vector<std::string>& log) {
    std::vector<LoggedRequest> requests;
    for (const std::string& line : log) {
        const std::size_t colon = line.find(':');
        const std::size_t open = line.find(" \"");
        const std::size_t close = line.rfind("\" ");
        if (colon == std::string::npos || open == std::string::npos || close <= open) continue;
        LoggedRequest r;
        r.clientPort = line.substr(colon + 1, open - colon - 1);
        r.line = line.substr(open + 2, close - open - 2);
        r.status = std::atoi(line.c_str() + close + 2);
        requests.push_back(r);
    }
    return requests;
}

ServiceProcess::~ServiceProcess() {
    Stop();
}

bool ServiceProcess::running() const {
    return pid_ > 0 && ::kill(pid_, 0) == 0;
}

int ServiceProcess::Stop() {
    if (!logPath_.empty() && pid_ > 0) {
        // The log file goes with the service.
        const std::string path = logPath_;
        logPath_.clear();
        const int status = Stop();
        ::unlink(path.c_str());
        return status;
    }
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

HttpReply SendRaw(int port, const std::string& request, int timeoutMs) {
    const int fd = Connect(port);
    if (fd < 0) return {};
    HttpReply reply;
    if (SendAll(fd, request)) reply = Reader(fd, timeoutMs).ReadReply();
    ::close(fd);
    return reply;
}

HttpReply Get(int port, const std::string& target) {
    return SendRaw(port,
                   "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

std::vector<HttpReply> SendKeepAlive(int port, const std::vector<std::string>& requests) {
    std::vector<HttpReply> replies;
    const int fd = Connect(port);
    if (fd < 0) return replies;
    Reader reader(fd, 5000);
    for (const std::string& request : requests) {
        if (!SendAll(fd, request)) break;
        replies.push_back(reader.ReadReply());
    }
    ::close(fd);
    return replies;
}

std::vector<std::string> Lines(const std::string& body) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t end = body.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(body.substr(start));
            break;
        }
        lines.push_back(body.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace tickwell_test
