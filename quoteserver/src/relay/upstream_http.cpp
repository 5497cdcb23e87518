#include "relay/upstream_http.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>

namespace quotes {
namespace {

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The resolved names and the TLS sessions, shared by every call of the process. Connections
// are not: libcurl does not support sharing them between threads that call at once, so each
// thread keeps its own (ThreadMulti below).
class Shared {
public:
    Shared() : handle_(curl_share_init()) {
        const bool set =
            handle_ && curl_share_setopt(handle_, CURLSHOPT_LOCKFUNC, Lock) == CURLSHE_OK &&
            curl_share_setopt(handle_, CURLSHOPT_UNLOCKFUNC, Unlock) == CURLSHE_OK &&
            curl_share_setopt(handle_, CURLSHOPT_USERDATA, this) == CURLSHE_OK &&
            curl_share_setopt(handle_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK &&
            curl_share_setopt(handle_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) == CURLSHE_OK;
        // Without a share every call resolves for itself: slower, never wrong.
        if (!set && handle_) {
            curl_share_cleanup(handle_);
            handle_ = nullptr;
        }
    }
    ~Shared() {
        if (handle_) curl_share_cleanup(handle_);
    }
    CURLSH* handle() const { return handle_; }

private:
    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
        static_cast<Shared*>(self)->locks_[Index(data)].lock();
    }
    static void Unlock(CURL*, curl_lock_data data, void* self) {
        static_cast<Shared*>(self)->locks_[Index(data)].unlock();
    }
    static std::size_t Index(curl_lock_data data) { return static_cast<std::size_t>(data) % 8; }

    CURLSH* handle_;
    std::array<std::mutex, 8> locks_;
};

struct Call {
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    UpstreamResponse* response = nullptr;
    bool added = false;  // set up and handed to the multi handle
    bool tooLarge = false;
    bool done = false;
    CURLcode result = CURLE_OK;
    std::chrono::steady_clock::time_point started;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    Call& call = *static_cast<Call*>(user);
    const std::size_t n = size * count;
    if (call.response->body.size() + n > kUpstreamMostBody) {
        call.tooLarge = true;
        return 0;  // ends the transfer
    }
    call.response->body.append(data, n);
    return n;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    const std::size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

bool HeaderIs(const std::string& line, const char* name, std::string& value) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon != std::char_traits<char>::length(name)) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        if (std::tolower(static_cast<unsigned char>(line[i])) != name[i]) return false;
    }
    value = Trimmed(line.substr(colon + 1));
    return true;
}

// A header's whole value as a count of 0 or more; nothing for any other text.
std::optional<long long> Count(const std::string& value) {
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(value.c_str(), &end, 10);
    if (end == value.c_str() || *end != '\0' || n < 0 || errno == ERANGE) return std::nullopt;
    return n;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    Call& call = *static_cast<Call*>(user);
    const std::string line(data, size * count);
    std::string value;
    if (HeaderIs(line, "set-cookie", value)) {
        call.response->cookies.push_back(value.substr(0, value.find(';')));
    } else if (HeaderIs(line, "retry-after", value)) {
        if (const auto seconds = Count(value); seconds && *seconds <= 86400)
            call.response->retryAfterSeconds = static_cast<int>(*seconds);
    } else if (HeaderIs(line, "x-ratelimit-remaining", value)) {
        call.response->rateLimitRemaining = Count(value);
    } else if (HeaderIs(line, "x-ratelimit-reset", value)) {
        call.response->rateLimitResetSeconds = Count(value);
    }
    return size * count;
}

// One multi handle a thread, kept for the thread's life: its connections stay open between the
// calls of that thread, and no other thread ever uses them.
class ThreadMulti {
public:
    ThreadMulti() : handle_(curl_multi_init()) {
        if (handle_) {
            curl_multi_setopt(handle_, CURLMOPT_MAX_TOTAL_CONNECTIONS, long{kUpstreamMostAtOnce});
        }
    }
    ~ThreadMulti() {
        if (handle_) curl_multi_cleanup(handle_);
    }
    CURLM* handle() const { return handle_; }

private:
    CURLM* handle_;
};

class CurlHttp final : public UpstreamHttp {
public:
    CurlHttp(int totalSeconds, std::string userAgent)
        : totalSeconds_(totalSeconds), userAgent_(std::move(userAgent)) {
        GlobalInit();
    }

    std::vector<UpstreamResponse> Fetch(const std::vector<UpstreamRequest>& requests,
                                        long mostMs) override {
        std::vector<UpstreamResponse> responses(requests.size());
        std::vector<Call> calls(requests.size());
        thread_local ThreadMulti threadMulti;
        CURLM* multi = threadMulti.handle();
        for (std::size_t i = 0; i < requests.size(); ++i) {
            calls[i].response = &responses[i];
            calls[i].started = std::chrono::steady_clock::now();
            const bool ready = multi && Prepare(requests[i], calls[i], mostMs);
            calls[i].added = ready && curl_multi_add_handle(multi, calls[i].easy) == CURLM_OK;
        }
        if (multi) Run(multi, calls);
        for (Call& call : calls) Finish(multi, call);
        return responses;
    }

private:
    // False when the call cannot be set up (no memory, an option this libcurl refuses).
    bool Prepare(const UpstreamRequest& request, Call& call, long mostMs) const {
        call.easy = curl_easy_init();
        CURL* e = call.easy;
        if (!e) return false;
        const long totalMs = long{totalSeconds_} * 1000;
        bool ok = curl_easy_setopt(e, CURLOPT_URL, request.url.c_str()) == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, long{kUpstreamConnectSeconds}) ==
                      CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_TIMEOUT_MS,
                                   mostMs > 0 ? std::min(mostMs, totalMs) : totalMs) == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_USERAGENT, userAgent_.c_str()) == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "") == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody) == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_WRITEDATA, &call) == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader) == CURLE_OK &&
                  curl_easy_setopt(e, CURLOPT_HEADERDATA, &call) == CURLE_OK;
        if (ok && shared_.handle()) {
            ok = curl_easy_setopt(e, CURLOPT_SHARE, shared_.handle()) == CURLE_OK;
        }
        if (ok && request.connectOnly) {
            ok = curl_easy_setopt(e, CURLOPT_CONNECT_ONLY, 1L) == CURLE_OK;
        }
        if (ok && request.redirects > 0) {
            ok = curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
                 curl_easy_setopt(e, CURLOPT_MAXREDIRS, long{request.redirects}) == CURLE_OK &&
                 curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
        }
        if (ok && !request.form.empty()) {
            ok = curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, request.form.c_str()) == CURLE_OK;
        }
        for (const std::string& header : request.headers) {
            curl_slist* more = curl_slist_append(call.headers, header.c_str());
            if (!more) return false;
            call.headers = more;
        }
        return ok && curl_easy_setopt(e, CURLOPT_HTTPHEADER, call.headers) == CURLE_OK;
    }

    static void Run(CURLM* multi, std::vector<Call>& calls) {
        int running = 1;
        while (running > 0) {
            if (curl_multi_perform(multi, &running) != CURLM_OK) break;
            if (running > 0) curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
            if (msg->msg != CURLMSG_DONE) continue;
            for (Call& call : calls) {
                if (call.easy == msg->easy_handle) {
                    call.result = msg->data.result;
                    call.done = true;
                }
            }
        }
    }

    // No name, no route, no connection: the host cannot be reached (the network is down, a
    // block list has its name), which differs from a host that answers badly.
    static bool NotReached(const Call& call) {
        if (call.result == CURLE_COULDNT_RESOLVE_HOST ||
            call.result == CURLE_COULDNT_RESOLVE_PROXY || call.result == CURLE_COULDNT_CONNECT)
            return true;
        curl_off_t connected = 0;
        return call.result == CURLE_OPERATION_TIMEDOUT &&
               curl_easy_getinfo(call.easy, CURLINFO_CONNECT_TIME_T, &connected) == CURLE_OK &&
               connected == 0;
    }

    // A whole reply only: a cut, a time-out or an oversize body is no answer at all.
    static void Finish(CURLM* multi, Call& call) {
        UpstreamResponse& r = *call.response;
        long status = 0;
        const long ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - call.started)
                                              .count());
        if (!call.added) {
            r = UpstreamResponse{};
            r.error = "the call could not be set up";
        } else if (call.tooLarge || !call.done || call.result != CURLE_OK ||
                   curl_easy_getinfo(call.easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) {
            r = UpstreamResponse{};
            r.error = call.tooLarge             ? "body too large"
                      : !call.done              ? "not finished"
                      : call.result != CURLE_OK ? curl_easy_strerror(call.result)
                                                : "no status";
            r.unreachable = call.done && NotReached(call);
        } else {
            r.status = static_cast<int>(status);
            const char* url = nullptr;
            if (curl_easy_getinfo(call.easy, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
                r.finalUrl = url;
        }
        r.milliseconds = ms;
        if (call.added) curl_multi_remove_handle(multi, call.easy);
        if (call.easy) curl_easy_cleanup(call.easy);
        curl_slist_free_all(call.headers);
    }

    Shared shared_;
    const int totalSeconds_;
    const std::string userAgent_;
};

}  // namespace

std::unique_ptr<UpstreamHttp> MakeUpstreamHttp(int totalSeconds, std::string userAgent) {
    return std::make_unique<CurlHttp>(totalSeconds, std::move(userAgent));
}

}  // namespace quotes
