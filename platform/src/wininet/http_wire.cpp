#include "wininet/http_wire.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "host/device.h"
#include "platform/wininet/wininet.h"
#include "wininet/reply_parser.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

using Clock = std::chrono::steady_clock;

enum class Wait { ready, timedOut, failed, cancelled };

// Whether a key the user pressed meanwhile cancels the call: Esc does, and Ctrl+Q, which then
// quits once the call's failure has been told.
bool CancelledByKey(Device& device) {
    const BlockedKey key = device.TakeBlockedKey();
    if (key == BlockedKey::cancelAndQuit) QuitWhenIdle();
    return key != BlockedKey::none;
}

// Waits for `events` on `fd` for at most `limitMs`, and never past `deadline`; the keyboard is
// watched meanwhile.
Wait WaitFor(int fd, short events, long limitMs, Clock::time_point deadline) {
    Device* device = CurrentDevice();
    const int keys = device ? device->BlockedInputFd() : -1;
    deadline = std::min(deadline, Clock::now() + std::chrono::milliseconds(limitMs));
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd entries[2] = {{fd, events, 0}, {keys, POLLIN, 0}};
        const int n = ::poll(entries, keys >= 0 ? 2 : 1, static_cast<int>(std::max<long>(left, 0)));
        if (n < 0 && errno != EINTR) return Wait::failed;
        if (n <= 0) {
            if (n == 0) return Wait::timedOut;
            continue;
        }
        if (keys >= 0 && entries[1].revents && CancelledByKey(*device)) return Wait::cancelled;
        if (entries[0].revents) return Wait::ready;
    }
}

struct AddressList {
    addrinfo* first = nullptr;
    ~AddressList() {
        if (first) ::freeaddrinfo(first);
    }
};

// The addresses of a host, looked up on a thread of its own so that a resolver that hangs
// costs no more than the connect time-out (the lookup then finishes alone and is dropped).
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    AddressList addresses;
    int result = EAI_FAIL;
};

bool Resolve(const Endpoint& to, Clock::time_point until, std::shared_ptr<Lookup>& lookup) {
    lookup = std::make_shared<Lookup>();
    // An address needs no resolver (the service's 127.0.0.1, as run.sh routes the viewer): it
    // is read here, without a thread.
    addrinfo numeric{};
    numeric.ai_family = AF_UNSPEC;
    numeric.ai_socktype = SOCK_STREAM;
    numeric.ai_flags = AI_NUMERICSERV | AI_NUMERICHOST;
    if (::getaddrinfo(to.host.c_str(), std::to_string(to.port).c_str(), &numeric,
                      &lookup->addresses.first) == 0) {
        return true;
    }
    try {
        std::thread([lookup, host = to.host, port = std::to_string(to.port)] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_flags = AI_NUMERICSERV;
            addrinfo* first = nullptr;
            const int result = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &first);
            std::lock_guard<std::mutex> lock(lookup->mutex);
            lookup->addresses.first = first;
            lookup->result = result;
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return false;  // no thread to be had
    }
    std::unique_lock<std::mutex> lock(lookup->mutex);
    return lookup->done.wait_until(lock, until, [&] { return lookup->finished; }) &&
           lookup->result == 0;
}

// A connected non-blocking socket, or -1 and `error`. Each address has the connect time-out
// of its own (within the request's deadline): a dead first address does not rule out the next.
int ConnectTo(const Endpoint& to, long connectMs, Clock::time_point deadline, DWORD& error) {
    std::shared_ptr<Lookup> lookup;
    if (!Resolve(to, std::min(deadline, Clock::now() + std::chrono::milliseconds(connectMs)),
                 lookup)) {
        error = ERROR_INTERNET_NAME_NOT_RESOLVED;
        return -1;
    }
    const AddressList& addresses = lookup->addresses;
    error = ERROR_INTERNET_CANNOT_CONNECT;
    for (const addrinfo* a = addresses.first; a; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) continue;
        int failure = 0;
        socklen_t size = sizeof failure;
        bool connected = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
        if (!connected && errno == EINPROGRESS) {
            const Wait wait = WaitFor(fd, POLLOUT, connectMs, deadline);
            if (wait == Wait::timedOut) error = ERROR_INTERNET_TIMEOUT;
            if (wait == Wait::cancelled) error = ERROR_INTERNET_OPERATION_CANCELLED;
            connected = wait == Wait::ready &&
                        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) == 0 &&
                        failure == 0;
        }
        if (connected) {
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return fd;
        }
        ::close(fd);
        if (error == ERROR_INTERNET_OPERATION_CANCELLED || Clock::now() >= deadline) break;
    }
    return -1;
}

enum class Talk { replied, nothingCame, timedOut, failed, cancelled };

Talk SendAll(int fd, const std::string& bytes, const HttpTimeouts& timeouts,
             Clock::time_point deadline) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            const Wait wait = WaitFor(fd, POLLOUT, timeouts.idleSeconds * 1000, deadline);
            if (wait == Wait::cancelled) return Talk::cancelled;
            if (wait != Wait::ready) return Talk::failed;
        } else {
            return Talk::failed;
        }
    }
    return Talk::replied;
}

// Reads until the reply is whole or bad, the server closes, or a time limit passes.
Talk Receive(int fd, ReplyParser& parser, const HttpTimeouts& timeouts,
             Clock::time_point deadline) {
    char buffer[16 * 1024];
    bool anything = false;
    while (parser.state() == ReplyParser::State::head ||
           parser.state() == ReplyParser::State::body) {
        const Wait wait = WaitFor(fd, POLLIN, timeouts.idleSeconds * 1000, deadline);
        if (wait == Wait::cancelled) return Talk::cancelled;
        if (wait != Wait::ready) return wait == Wait::timedOut ? Talk::timedOut : Talk::failed;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n == 0) {
            parser.End();
            return anything ? Talk::replied : Talk::nothingCame;
        }
        // A reset is no end: a body that runs to the close stays cut, not whole.
        if (n < 0) return anything ? Talk::replied : Talk::failed;
        anything = true;
        parser.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    return Talk::replied;
}

// Nothing to read and not closed: a kept connection fit for the next request.
bool Idle(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 0;
}

}  // namespace

WireReply HttpWire::Exchange(const Endpoint& to, const std::string& head,
                             const HttpTimeouts& timeouts) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeouts.totalMs);
    WireReply reply;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // A kept connection with something on it (a 408 and its close, stray bytes, a reply
        // nobody asked for) would answer this request with that: a new one is opened instead.
        if (fd_ >= 0 && !Idle(fd_)) Close();
        const bool reused = fd_ >= 0 && to_ == to;
        if (!reused) {
            Close();
            fd_ = ConnectTo(to, timeouts.connectMs, deadline, reply.error);
            if (fd_ < 0) return reply;
            to_ = to;
        }
        ReplyParser parser(kBodyLimit);
        const Talk sent = SendAll(fd_, head, timeouts, deadline);
        const Talk talk = sent == Talk::replied ? Receive(fd_, parser, timeouts, deadline) : sent;
        if (talk == Talk::cancelled) {
            Close();  // the user's Esc: the call ends as a failed one, its connection with it
            reply.error = ERROR_INTERNET_OPERATION_CANCELLED;
            return reply;
        }
        if (reused && parser.status() == 0 && (talk == Talk::nothingCame || talk == Talk::failed)) {
            Close();  // the server had closed the kept connection: once more on a new one
            continue;
        }
        if (!parser.KeepsConnection()) Close();
        reply.status = parser.status();
        reply.body = parser.body();
        reply.whole = parser.state() == ReplyParser::State::done;
        if (reply.status == 0)
            reply.error =
                talk == Talk::timedOut ? ERROR_INTERNET_TIMEOUT : ERROR_INTERNET_CONNECTION_ABORTED;
        return reply;
    }
    return reply;
}

void HttpWire::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace platform::detail
