// The HTTP client of wininet.h over plain sockets (wininet/http_wire.cpp). A connection
// handle owns one TCP connection, kept open from one request to the next while the server
// allows. A request is sent and its reply received whole (up to HttpWire::kBodyLimit bytes) in
// HttpSendRequestW; InternetReadFile then hands the body out piece by piece. The request
// target goes out verbatim, so the double quotes and commas of a quote request are neither
// encoded nor refused.
#include "platform/wininet/wininet.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "host/ascii.h"
#include "host/faults.h"
#include "host/handle_table.h"
#include "platform/host/utf.h"
#include "wininet/connect_routes.h"
#include "wininet/http_timeouts.h"
#include "wininet/http_wire.h"
#include "winsys/renderer.h"

namespace platform::detail {
namespace {

struct InternetObject {
    virtual ~InternetObject() = default;
};

struct Session : InternetObject {
    std::string agent;
    std::string proxy;  // host[:port], or empty: direct
    // A session's requests share one whole-request time: a refresh of several batches from a
    // server that drips ends when it has passed, not after it times each batch.
    std::chrono::steady_clock::time_point deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(CurrentHttpTimeouts().totalMs);
};

struct Connection : InternetObject {
    HINTERNET session = nullptr;
    std::string host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    HttpWire wire;
};

struct Request : InternetObject {
    HINTERNET connection = nullptr;
    std::string target;
    long status = 0;
    std::string body;
    std::size_t readPosition = 0;
    bool sent = false;
    bool failedMidBody = false;
};

HandleTable<InternetObject>& Objects() {
    static HandleTable<InternetObject> objects(0x6000);
    return objects;
}

bool AnySessionOpen() {
    return Objects().FindIf([](const InternetObject& object) {
        return dynamic_cast<const Session*>(&object) != nullptr;
    }) != nullptr;
}

template <typename T>
T* Find(HINTERNET handle) {
    T* object = dynamic_cast<T*>(Objects().Find(handle));
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

std::string Narrow(LPCWSTR text) {
    return text ? ToUtf8(text) : std::string();
}

// "HTTP://host[:port]", the scheme in any case, as host:port (80 when none is given, as
// WinINet has it); empty when it names no host.
std::string ProxyAddress(const std::string& text) {
    constexpr std::string_view kScheme = "http://";
    std::string rest = text;
    if (EqualsIgnoringAsciiCase(std::string_view(rest).substr(0, kScheme.size()), kScheme))
        rest = rest.substr(kScheme.size());
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    // An IPv6 address is written in brackets: its port's colon comes after them.
    const std::size_t colon = rest.find(':', rest.starts_with('[') ? rest.find(']') : 0);
    const std::string host = rest.substr(0, colon);
    const bool sound = !host.empty() && rest.find_first_of("/@ \t\r\n") == std::string::npos;
    if (!sound) return {};
    return colon == std::string::npos ? rest + ":80" : rest;
}

// A request target goes on the wire as it is: printable ASCII only.
bool SoundTarget(const std::string& target) {
    if (target.empty() || target[0] != '/') return false;
    return std::all_of(target.begin(), target.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

// Where the request's bytes go: the proxy, or the server as TICKWELL_CONNECT_TO routes it.
Endpoint Destination(const Session& session, const Connection& connection) {
    if (!session.proxy.empty()) {
        const std::size_t colon = session.proxy.rfind(':');
        std::string host = session.proxy.substr(0, colon);
        if (host.size() > 2 && host.front() == '[' && host.back() == ']')
            host = host.substr(1, host.size() - 2);
        return Endpoint{host, std::atoi(session.proxy.c_str() + colon + 1)};
    }
    const char* routes = std::getenv("TICKWELL_CONNECT_TO");
    return RouteFor(routes ? routes : "", Endpoint{connection.host, connection.port});
}

std::string WireTarget(const Session& session, const Connection& connection,
                       const std::string& target) {
    if (session.proxy.empty()) return target;
    // Through a proxy, the absolute form.
    std::string origin = "http://" + connection.host;
    if (connection.port != INTERNET_DEFAULT_HTTP_PORT)
        origin += ":" + std::to_string(connection.port);
    return origin + target;
}

std::string RequestHead(const Session& session, const Connection& connection,
                        const std::string& target) {
    std::string host = connection.host;
    if (connection.port != INTERNET_DEFAULT_HTTP_PORT)
        host += ":" + std::to_string(connection.port);
    std::string head = "GET " + WireTarget(session, connection, target) + " HTTP/1.1\r\n";
    head += "Host: " + host + "\r\n";
    // A line break in the agent would end the header early: such an agent is not sent.
    if (!session.agent.empty() && session.agent.find_first_of("\r\n") == std::string::npos)
        head += "User-Agent: " + session.agent + "\r\n";
    head += "Accept: */*\r\n\r\n";
    return head;
}

}  // namespace
}  // namespace platform::detail

using namespace platform::detail;

HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR, DWORD) {
    if (CallFails(FailingCall::internetOpen)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto session = std::make_unique<Session>();
    session->agent = Narrow(agent);
    if (accessType == INTERNET_OPEN_TYPE_PROXY) {
        session->proxy = ProxyAddress(Narrow(proxy));
        if (session->proxy.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    } else if (accessType != INTERNET_OPEN_TYPE_DIRECT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The busy mark shows from the first session's opening to the last one's closing.
    if (!AnySessionOpen()) SetBusy(true);
    return Objects().Add<HINTERNET>(std::move(session));
}

HINTERNET InternetConnectW(HINTERNET session, LPCWSTR server, INTERNET_PORT port, LPCWSTR, LPCWSTR,
                           DWORD service, DWORD, DWORD_PTR) {
    if (!Find<Session>(session)) return nullptr;
    if (CallFails(FailingCall::internetConnect)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const std::string host = Narrow(server);
    if (service != INTERNET_SERVICE_HTTP || host.empty() ||
        host.find_first_of("/:@ \t\r\n") != std::string::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto connection = std::make_unique<Connection>();
    connection->session = session;
    connection->host = host;
    connection->port = port ? port : INTERNET_DEFAULT_HTTP_PORT;
    return Objects().Add<HINTERNET>(std::move(connection));
}

HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR target, LPCWSTR, LPCWSTR,
                           LPCWSTR*, DWORD, DWORD_PTR) {
    if (!Find<Connection>(connection)) return nullptr;
    const std::string method = verb ? Narrow(verb) : "GET";
    const std::string path = Narrow(target);
    if (method != "GET" || !SoundTarget(path)) {
        SetLastError(ERROR_INTERNET_INVALID_URL);
        return nullptr;
    }
    auto request = std::make_unique<Request>();
    request->connection = connection;
    request->target = path;
    return Objects().Add<HINTERNET>(std::move(request));
}

BOOL HttpSendRequestW(HINTERNET handle, LPCWSTR, DWORD, void*, DWORD) {
    Request* request = Find<Request>(handle);
    Connection* connection = request ? Find<Connection>(request->connection) : nullptr;
    Session* session = connection ? Find<Session>(connection->session) : nullptr;
    if (!session || request->sent) return FALSE;
    request->sent = true;
    HttpTimeouts timeouts = CurrentHttpTimeouts();
    const long left = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            session->deadline - std::chrono::steady_clock::now())
                                            .count());
    if (left <= 0) {
        SetLastError(ERROR_INTERNET_TIMEOUT);
        return FALSE;
    }
    timeouts.totalMs = std::min(timeouts.totalMs, left);
    WireReply reply =
        connection->wire.Exchange(Destination(*session, *connection),
                                  RequestHead(*session, *connection, request->target), timeouts);
    request->status = reply.status;
    if (reply.status == 0) {
        SetLastError(reply.error);
        return FALSE;
    }
    // A reply that began but did not end: what came is read, and then the read fails.
    request->body = std::move(reply.body);
    request->failedMidBody = !reply.whole;
    return TRUE;
}

BOOL HttpQueryInfoW(HINTERNET handle, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD*) {
    const Request* request = Find<Request>(handle);
    if (!request) return FALSE;
    if (infoLevel != (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER) || !request->sent ||
        request->status <= 0) {
        SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
        return FALSE;
    }
    if (!buffer || !bufferLength || *bufferLength < sizeof(DWORD)) {
        if (bufferLength) *bufferLength = sizeof(DWORD);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const auto status = static_cast<DWORD>(request->status);
    std::memcpy(buffer, &status, sizeof status);
    *bufferLength = sizeof status;
    return TRUE;
}

BOOL InternetReadFile(HINTERNET handle, void* buffer, DWORD toRead, DWORD* read) {
    if (read) *read = 0;
    Request* request = Find<Request>(handle);
    if (!request || !read || (!buffer && toRead)) return FALSE;
    const std::size_t left = request->body.size() - request->readPosition;
    if (left == 0 && request->failedMidBody) {
        SetLastError(ERROR_INTERNET_CONNECTION_ABORTED);
        return FALSE;
    }
    const std::size_t n = std::min<std::size_t>(left, toRead);
    if (n) std::memcpy(buffer, request->body.data() + request->readPosition, n);
    request->readPosition += n;
    *read = static_cast<DWORD>(n);
    return TRUE;
}

BOOL InternetCloseHandle(HINTERNET handle) {
    if (!Objects().Find(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const bool session = dynamic_cast<Session*>(Objects().Find(handle)) != nullptr;
    Objects().Remove(handle);
    if (session && !AnySessionOpen()) SetBusy(false);
    return TRUE;
}
