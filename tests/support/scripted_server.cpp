#include "support/scripted_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tickwell_test {

std::string HttpReplyBytes(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) +
           " Status\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

ScriptedServer::ScriptedServer(Script script, int port) : script_(std::move(script)) {
    if (::pipe(stopPipe_) != 0) return;
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const int reuse = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    socklen_t length = sizeof address;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 8) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
    if (stopPipe_[1] >= 0) {
        const char stop = 's';
        [[maybe_unused]] const ssize_t n = ::write(stopPipe_[1], &stop, 1);
    }
    if (thread_.joinable()) thread_.join();
    for (int fd : {listenFd_, stopPipe_[0], stopPipe_[1]}) {
        if (fd >= 0) ::close(fd);
    }
}

std::vector<std::string> ScriptedServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

int ScriptedServer::connections() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connections_;
}

void ScriptedServer::Serve() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN)) return;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++connections_;
        }
        const bool keepServing = ServeConnection(client);
        ::close(client);
        if (!keepServing) return;
    }
}

// Answers the requests of one connection; false when the server is to stop.
bool ScriptedServer::ServeConnection(int fd) {
    std::string buffer;
    for (;;) {
        std::size_t end;
        while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
            pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN)) return false;
            char chunk[4096];
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) return true;  // the client closed
            buffer.append(chunk, static_cast<std::size_t>(n));
        }
        const std::string head = buffer.substr(0, end + 4);
        buffer.erase(0, end + 4);
        int index = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            index = static_cast<int>(requests_.size());
            requests_.push_back(head);
        }
        const ScriptedReply reply = script_(index, head);
        if (reply.reset) {
            const linger abort{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            return true;
        }
        if (reply.silent) {
            pollfd stop{stopPipe_[0], POLLIN, 0};
            ::poll(&stop, 1, -1);
            return false;
        }
        for (std::size_t done = 0; done < reply.bytes.size();) {
            const ssize_t n =
                ::send(fd, reply.bytes.data() + done, reply.bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return true;
            done += static_cast<std::size_t>(n);
        }
        if (reply.drip) {
            // Each drip waits on the stop pipe, so the server still stops at once.
            for (pollfd stop{stopPipe_[0], POLLIN, 0}; ::poll(&stop, 1, 100) == 0;) {
                if (::send(fd, "9", 1, MSG_NOSIGNAL) <= 0) return true;
            }
            return false;
        }
        if (reply.stall) {
            pollfd stop{stopPipe_[0], POLLIN, 0};
            ::poll(&stop, 1, -1);
            return false;
        }
        if (reply.close) return true;
    }
}

}  // namespace tickwell_test
