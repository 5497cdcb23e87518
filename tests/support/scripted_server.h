// A stand-in quote server on a loopback port that answers as a test script says: canned
// bytes, a reset, a close, or silence. Runs on a thread of its own, one connection at a time,
// and records every request head and connection.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tickwell_test {

struct ScriptedReply {
    std::string bytes;    // written as they are (status line, headers, body)
    bool close = false;   // then the connection closes
    bool reset = false;   // the connection is reset instead of answered
    bool silent = false;  // nothing is sent; the connection stays open
    bool stall = false;   // `bytes` are sent, then nothing more; the connection stays open
    bool drip = false;    // `bytes` are sent, then a byte every 100 ms until the client goes
};

// A whole HTTP/1.1 reply with a Content-Length.
std::string HttpReplyBytes(int status, const std::string& body);

class ScriptedServer {
public:
    using Script = std::function<ScriptedReply(int requestIndex, const std::string& head)>;

    // On a free port, or on `port` (port() is -1 when that one is taken).
    explicit ScriptedServer(Script script, int port = 0);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int port() const { return port_; }
    // The request heads so far, and how many connections were accepted.
    std::vector<std::string> requests() const;
    int connections() const;

private:
    void Serve();
    bool ServeConnection(int fd);

    Script script_;
    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = -1;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    int connections_ = 0;
    std::thread thread_;
};

}  // namespace tickwell_test
