// One viewer per device root. The first viewer listens on an abstract Unix socket named after
// its device root (abstract: nothing is created in the file system and nothing is left behind);
// FindWindowW in a second one asks it for a window by class and title, SetForegroundWindow
// asks it to come to the front.
#include "winsys/instance_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/device.h"
#include "platform/host/device_root.h"
#include "platform/host/utf.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

constexpr std::uintptr_t kRemoteBase = 0x7FF00000;
constexpr int kReplyTimeoutMs = 2000;

int listenFd = -1;

struct RemoteWindow {
    std::string className;
    std::string title;
    std::string pid;
};
std::vector<RemoteWindow> remotes;
bool holderSilent = false;  // the viewer holding the root was asked and did not answer

sockaddr_un Address(socklen_t& length) {
    std::string root = DeviceRoot();
    char resolved[PATH_MAX];
    if (::realpath(root.c_str(), resolved)) root = resolved;
    std::uint64_t hash = 1469598103934665603ull;
    for (char c : root) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char name[64];
    std::snprintf(name, sizeof name, "tickwell-device-%016llx",
                  static_cast<unsigned long long>(hash));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // An abstract name starts with a zero byte.
    std::memcpy(address.sun_path + 1, name, std::strlen(name));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + std::strlen(name));
    return address;
}

bool ReadLine(int fd, std::string& line, int timeoutMs) {
    line.clear();
    char c = 0;
    pollfd p{fd, POLLIN, 0};
    while (line.size() < 1024) {
        if (::poll(&p, 1, timeoutMs) <= 0 || ::read(fd, &c, 1) != 1) return false;
        if (c == '\n') return true;
        line += c;
    }
    return false;
}

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

enum class Asked { answered, nobody, silent };

// Asks the first viewer: its reply line, nobody listening, or a viewer that holds the device
// root and does not answer within kReplyTimeoutMs (stopped, or blocked in a long download). The
// connect never blocks: a stopped viewer's full backlog would hold a blocking one for good.
Asked Ask(const std::string& request, std::string& reply) {
    socklen_t length = 0;
    const sockaddr_un address = Address(length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return Asked::nobody;
    Asked result = Asked::silent;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        // EAGAIN: the listener's backlog is full; it takes no one in.
        result = errno == EAGAIN ? Asked::silent : Asked::nobody;
    } else {
        WriteAll(fd, request + "\n");
        if (ReadLine(fd, reply, kReplyTimeoutMs)) result = Asked::answered;
    }
    ::close(fd);
    return result;
}

// "FIND class<TAB>title" and "FRONT class<TAB>title".
HWND LocalMatch(const std::string& key) {
    const std::size_t tab = key.find('\t');
    if (tab == std::string::npos) return nullptr;
    const auto cls = FromUtf8Lossy(key.substr(0, tab));
    const auto title = FromUtf8Lossy(key.substr(tab + 1));
    for (HWND top : Windows().topLevels) {
        const WindowData* data = FindWindowData(top);
        if (data && !data->destroying && data->cls->name == cls && data->text == title) return top;
    }
    return nullptr;
}

void Answer(int client) {
    std::string line;
    if (!ReadLine(client, line, 200)) return;
    if (line.rfind("FIND ", 0) == 0) {
        WriteAll(client,
                 LocalMatch(line.substr(5)) ? "YES " + std::to_string(::getpid()) + "\n" : "NO\n");
    } else if (line.rfind("FRONT ", 0) == 0) {
        const HWND window = LocalMatch(line.substr(6));
        if (window) {
            BringToFront(window);
            if (Device* device = CurrentDevice()) {
                device->Flash();
                device->Bell();
            }
        }
        WriteAll(client, window ? "OK " + std::to_string(::getpid()) + "\n" : "NO\n");
    }
}

std::string WindowKey(const std::string& className, const std::string& title) {
    return className + "\t" + title;
}

}  // namespace

namespace {

enum class Front { brought, notBrought, silent };

constexpr int kClaimAttempts = 30;
constexpr int kClaimPauseMs = 100;

void SayAlreadyRunning(const std::string& pid, Front front) {
    const char* what = front == Front::brought  ? "; brought it to the front"
                       : front == Front::silent ? "; it did not answer"
                                                : "";
    std::fprintf(stderr, "%s: already running on this device (process %s, %s)%s\n",
                 program_invocation_short_name, pid.c_str(), DeviceRoot().c_str(), what);
}

// Asks the viewer holding the device root to come to the front. It may be starting, its
// window not yet made: it is asked again for a while. One that does not answer at all is
// waited for once, kReplyTimeoutMs, and then no more.
void AskHolderToFront(const std::string& key) {
    std::string reply;
    if (holderSilent) return SayAlreadyRunning("?", Front::silent);  // waited for already
    for (int attempt = 0; attempt < kClaimAttempts; ++attempt) {
        const Asked asked = Ask("FRONT " + key, reply);
        if (asked == Asked::silent) return SayAlreadyRunning("?", Front::silent);
        if (asked == Asked::answered && reply.rfind("OK", 0) == 0) {
            return SayAlreadyRunning(reply.size() > 3 ? reply.substr(3) : "?", Front::brought);
        }
        ::poll(nullptr, 0, kClaimPauseMs);
    }
    SayAlreadyRunning("?", Front::notBrought);
}

}  // namespace

bool ClaimDevice(std::u16string_view className, std::u16string_view title) {
    if (listenFd >= 0) return true;
    socklen_t length = 0;
    const sockaddr_un address = Address(length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return true;  // no channel to be had: nothing to share the root with either
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
        ::listen(fd, 16) == 0) {
        listenFd = fd;
        return true;
    }
    ::close(fd);
    // Another viewer holds this device root: started at the same moment as this one, it was
    // not there to be found.
    AskHolderToFront(WindowKey(ToUtf8(className), ToUtf8(title)));
    return false;
}

void StopInstanceChannel() {
    if (listenFd >= 0) ::close(listenFd);
    listenFd = -1;
}

int InstanceChannelFd() {
    return listenFd;
}

void ServeInstanceRequests() {
    if (listenFd < 0) return;
    for (;;) {
        const int client = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) return;
        Answer(client);
        ::close(client);
    }
}

HWND FindRemoteWindow(LPCWSTR className, LPCWSTR title) {
    if (listenFd >= 0) return nullptr;  // this process is the first viewer
    const std::string cls = className ? ToUtf8(className) : "";
    const std::string name = title ? ToUtf8(title) : "";
    std::string reply;
    const Asked asked = Ask("FIND " + WindowKey(cls, name), reply);
    holderSilent = asked == Asked::silent;
    if (asked != Asked::answered || reply.rfind("YES", 0) != 0) return nullptr;
    remotes.push_back({cls, name, reply.size() > 4 ? reply.substr(4) : "?"});
    return reinterpret_cast<HWND>(kRemoteBase + remotes.size() * 2);
}

bool IsRemoteWindow(HWND window) {
    const auto value = reinterpret_cast<std::uintptr_t>(window);
    return value > kRemoteBase && value <= kRemoteBase + remotes.size() * 2;
}

BOOL BringRemoteToFront(HWND window) {
    const auto index = (reinterpret_cast<std::uintptr_t>(window) - kRemoteBase) / 2 - 1;
    const RemoteWindow& remote = remotes[index];
    std::string reply;
    const Asked asked = Ask("FRONT " + WindowKey(remote.className, remote.title), reply);
    const bool ok = asked == Asked::answered && reply.rfind("OK", 0) == 0;
    SayAlreadyRunning(remote.pid, ok                         ? Front::brought
                                  : asked == Asked::silent ? Front::silent
                                                           : Front::notBrought);
    return ok ? TRUE : FALSE;
}

}  // namespace platform::detail
