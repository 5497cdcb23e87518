// The HTTP client of wininet.h over libcurl; the only file that knows curl. A connection is a
// curl easy handle, whose connection cache keeps the TCP connection open from one request to
// the next. A request is sent and its reply received whole (up to kBodyLimit bytes) in
// HttpSendRequestW; InternetReadFile then hands the body out piece by piece. The request
// target goes out verbatim (CURLOPT_REQUEST_TARGET), so curl neither encodes nor refuses the
// double quotes and commas of a quote request.
#include "platform/wininet/wininet.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "host/ascii.h"
#include "host/faults.h"
#include "host/handle_table.h"
#include "platform/host/utf.h"
#include "wininet/curl_library.h"
#include "wininet/http_timeouts.h"
#include "winsys/renderer.h"

namespace platform::detail {
namespace {

// More than any reply the viewer reads (it stops at 16,383 bytes); a longer body is cut and
// reads as a failed connection at that point.
constexpr std::size_t kBodyLimit = 1 << 20;

struct InternetObject {
    virtual ~InternetObject() = default;
};

struct Session : InternetObject {
    std::string agent;
    std::string proxy;  // host[:port], or empty: direct
};

struct Connection : InternetObject {
    HINTERNET session = nullptr;
    std::string host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    CURL* easy = nullptr;
    curl_slist* connectTo = nullptr;
    ~Connection() override {
        if (easy) Curl()->easy_cleanup(easy);
        Curl()->slist_free_all(connectTo);
    }
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
// WinINet has it; curl's own default would be 1080); empty when it names no host.
std::string ProxyAddress(const std::string& text) {
    constexpr std::string_view kScheme = "http://";
    std::string rest = text;
    if (EqualsIgnoringAsciiCase(std::string_view(rest).substr(0, kScheme.size()), kScheme))
        rest = rest.substr(kScheme.size());
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    const std::size_t colon = rest.find(':');
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

curl_slist* ConnectToList() {
    const char* routes = std::getenv("TICKWELL_CONNECT_TO");
    curl_slist* list = nullptr;
    std::string all = routes ? routes : "";
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find(',', start);
        if (end == std::string::npos) end = all.size();
        const std::string entry = all.substr(start, end - start);
        if (!entry.empty()) list = Curl()->slist_append(list, entry.c_str());
        start = end + 1;
    }
    return list;
}

DWORD ErrorOf(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return ERROR_INTERNET_NAME_NOT_RESOLVED;
        case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
        case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
        default: return ERROR_INTERNET_CONNECTION_ABORTED;
    }
}

std::size_t ReceiveBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* request = static_cast<Request*>(user);
    const std::size_t bytes = size * count;
    if (request->body.size() + bytes > kBodyLimit) return 0;  // cut: ends the transfer
    request->body.append(data, bytes);
    return bytes;
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

void PrepareTransfer(CURL* easy, const Session& session, const Connection& connection,
                     Request& request) {
    const std::string url =
        "http://" + connection.host + ":" + std::to_string(connection.port) + "/";
    const HttpTimeouts timeouts = CurrentHttpTimeouts();
    Curl()->easy_setopt(easy, CURLOPT_URL, url.c_str());
    Curl()->easy_setopt(easy, CURLOPT_REQUEST_TARGET,
                        WireTarget(session, connection, request.target).c_str());
    Curl()->easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    Curl()->easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    Curl()->easy_setopt(easy, CURLOPT_USERAGENT, session.agent.c_str());
    // An empty proxy also keeps curl from taking one from the environment.
    Curl()->easy_setopt(easy, CURLOPT_PROXY, session.proxy.c_str());
    Curl()->easy_setopt(easy, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
    Curl()->easy_setopt(easy, CURLOPT_CONNECT_TO,
                        session.proxy.empty() ? connection.connectTo : nullptr);
    Curl()->easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    Curl()->easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    Curl()->easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, timeouts.idleSeconds);
    Curl()->easy_setopt(easy, CURLOPT_TIMEOUT_MS, timeouts.totalMs);
    Curl()->easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    Curl()->easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    Curl()->easy_setopt(easy, CURLOPT_WRITEFUNCTION, ReceiveBody);
    Curl()->easy_setopt(easy, CURLOPT_WRITEDATA, &request);
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
    if (!Curl()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
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
    connection->easy = Curl()->easy_init();
    if (!connection->easy) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    connection->connectTo = ConnectToList();
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
    PrepareTransfer(connection->easy, *session, *connection, *request);
    const CURLcode result = Curl()->easy_perform(connection->easy);
    Curl()->easy_getinfo(connection->easy, CURLINFO_RESPONSE_CODE, &request->status);
    Curl()->easy_setopt(connection->easy, CURLOPT_WRITEDATA, nullptr);
    if (result == CURLE_OK) return TRUE;
    if (request->status > 0) {
        // The reply began: what came is read, and then the read fails.
        request->failedMidBody = true;
        return TRUE;
    }
    SetLastError(ErrorOf(result));
    return FALSE;
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
