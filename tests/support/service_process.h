// A running tickwell-quotes for a test: started on a free loopback port, stopped with
// SIGTERM when the object goes.
#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

namespace tickwell_test {

class ServiceProcess {
public:
    explicit ServiceProcess(const std::vector<std::string>& args = {});
    // With its request log ("address:port \"GET target HTTP/1.1\" status bytes" a line)
    // going to a file, read by log().
    static ServiceProcess Logged(const std::vector<std::string>& args = {});
    // Logged, and allowed `descriptors` open files at most (RLIMIT_NOFILE).
    static ServiceProcess Limited(int descriptors, const std::vector<std::string>& args = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    ServiceProcess(ServiceProcess&& other) noexcept;
    int port() const { return port_; }
    // The log's lines so far (a logged service only).
    std::vector<std::string> log() const;
    // The log once it holds at least `lines` lines (a line is written just after its reply
    // went out), or as it is after `timeoutMs`.
    std::vector<std::string> WaitForLog(std::size_t lines, int timeoutMs = 10000) const;
    bool running() const;
    // Stops it with SIGTERM; returns its exit status (-1 when it did not exit by itself).
    int Stop();

private:
    ServiceProcess(const std::vector<std::string>& args, const std::string& logPath,
                   int descriptors = 0);
    void Start(const std::vector<std::string>& args);

    pid_t pid_ = -1;
    int port_ = -1;
    std::string logPath_;
    int descriptors_ = 0;  // the child's limit, 0 for the inherited one
};

// A logged request: the client's port (one per connection) and the request line.
struct LoggedRequest {
    std::string clientPort;
    std::string line;  // "GET /d/quotes.csv?... HTTP/1.1"
    int status = 0;
};
std::vector<LoggedRequest> ParseLog(const std::vector<std::string>& log);

struct HttpReply {
    bool ok = false;  // a whole reply was read
    int status = 0;
    std::string headers;
    std::string body;
    // The body bytes each read from the socket delivered, in order.
    std::vector<std::size_t> bodyReads;
};

// A socket connected to 127.0.0.1:port, or -1; and all of `data` sent on it.
int Connect(int port);
// A port on loopback where nothing listens.
int ClosedPort();
bool SendAll(int fd, const std::string& data);

// Sends raw bytes to 127.0.0.1:port and reads one reply (by Content-Length, chunked, or to
// the end of the connection). Gives up after `timeoutMs`.
HttpReply SendRaw(int port, const std::string& request, int timeoutMs = 5000);
// A GET of `target` with HTTP/1.1 and "Connection: close".
HttpReply Get(int port, const std::string& target);

// Several requests on one kept-alive connection; one reply each.
std::vector<HttpReply> SendKeepAlive(int port, const std::vector<std::string>& requests);

// Splits a body into its CR LF-ended lines; a last line without CR LF is kept as it is.
std::vector<std::string> Lines(const std::string& body);

}  // namespace tickwell_test
