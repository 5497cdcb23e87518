#include "service.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>

#include "routes.h"
#include "source_chain.h"

namespace quotes {
namespace {

constexpr std::size_t kOversizeBody = 20 * 1024;
constexpr std::size_t kTrickleChunk = 64;
constexpr auto kTricklePause = std::chrono::milliseconds(30);

const char* const k999Page =
    "<html><head><title>Error 999</title></head><body>Sorry, Unable to process request at "
    "this time -- error 999.</body></html>";

std::string GarbageBody() {
    std::string body(2048, '\0');
    std::uint32_t x = 2463534242u;
    for (char& c : body) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xFF);
    }
    return body;
}

// Applies the fault modes to a quote reply.
void Disturb(const FaultModes& faults, Reply& reply) {
    if (faults.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(faults.delayMs));
    if (faults.garbage) reply.body = GarbageBody();
    if (faults.oversize) {
        const std::string unit = reply.body.empty() ? std::string("N/A\r\n") : reply.body;
        while (reply.body.size() <= kOversizeBody) reply.body += unit;
    }
    if (faults.status500) {
        reply.status = 500;
        reply.contentType = "text/html";
        reply.body = "<html><body>500 Internal Server Error</body></html>";
    }
    if (faults.status999) {
        reply.status = 999;
        reply.contentType = "text/html";
        reply.body = k999Page;
    }
}

// Sends the body in pieces: all of it with pauses (trickle), or half and then a cut.
void Deliver(const FaultModes& faults, Reply reply, httplib::Response& res) {
    auto body = std::make_shared<std::string>(std::move(reply.body));
    const std::size_t limit = faults.closeMidBody ? body->size() / 2 : body->size();
    const bool trickle = faults.trickle;
    res.set_content_provider(
        body->size(), reply.contentType,
        [body, limit, trickle](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            if (offset >= limit) return false;  // the cut: the connection closes
            std::size_t n = std::min(length, limit - offset);
            if (trickle) {
                n = std::min(n, kTrickleChunk);
                std::this_thread::sleep_for(kTricklePause);
            }
            return sink.write(body->data() + offset, n);
        });
}

}  // namespace

struct QuoteService::Impl {
    ServiceOptions options;
    httplib::Server server;
    std::mutex logMutex;

    std::int64_t Now() const {
        return options.clock ? *options.clock : static_cast<std::int64_t>(std::time(nullptr));
    }

    void Handle(const httplib::Request& req, httplib::Response& res) {
        Reply reply = options.sources ? Respond(req.method, req.target, Now(), *options.sources)
                                      : Respond(req.method, req.target, Now());
        if (!reply.location.empty()) res.set_header("Location", reply.location);
        if (reply.isQuotes) Disturb(options.faults, reply);
        res.status = reply.status;
        if (reply.isQuotes && (options.faults.closeMidBody || options.faults.trickle)) {
            Deliver(options.faults, std::move(reply), res);
        } else {
            res.set_content(std::move(reply.body), reply.contentType.c_str());
        }
    }

    // A request's words as they go into the log: printable ASCII, so that no request can
    // write control sequences to the terminal that shows the log.
    static std::string Printable(const std::string& text) {
        std::string out = text.substr(0, 2048);
        for (char& c : out) c = (c >= 0x20 && c < 0x7F) ? c : '?';
        return out;
    }

    void Log(const httplib::Request& req, const httplib::Response& res) {
        if (options.quiet) return;
        std::lock_guard<std::mutex> lock(logMutex);
        // The client's port tells its connections apart: a kept-alive one logs one port.
        std::fprintf(stderr, "%s:%d \"%s %s %s\" %d %zu\n", req.remote_addr.c_str(),
                     req.remote_port, Printable(req.method).c_str(), Printable(req.target).c_str(),
                     Printable(req.version).c_str(), res.status, res.body.size());
    }
};

QuoteService::QuoteService(ServiceOptions options) : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
    Impl* impl = impl_.get();
    const int threads = impl->options.threads > 0 ? impl->options.threads : 1;
    impl->server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    impl->server.set_keep_alive_max_count(100000);
    impl->server.set_read_timeout(5, 0);
    impl->server.set_write_timeout(5, 0);
    impl->server.set_payload_max_length(8 * 1024);
    impl->server.set_tcp_nodelay(true);
    impl->server.set_pre_routing_handler(
        [impl](const httplib::Request& req, httplib::Response& res) {
            impl->Handle(req, res);
            return httplib::Server::HandlerResponse::Handled;
        });
    // An HTTP/1.0 client gets one reply a connection, and says so; HTTP/1.1 ones keep theirs.
    impl->server.set_post_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        if (req.version != "HTTP/1.0") return;
        res.headers.erase("Keep-Alive");
        res.set_header("Connection", "close");
    });
    impl->server.set_logger(
        [impl](const httplib::Request& req, const httplib::Response& res) { impl->Log(req, res); });
}

QuoteService::~QuoteService() = default;

int QuoteService::Bind() {
    if (impl_->options.port == 0) return impl_->server.bind_to_any_port(impl_->options.host);
    return impl_->server.bind_to_port(impl_->options.host, impl_->options.port)
               ? impl_->options.port
               : -1;
}

bool QuoteService::Run() {
    return impl_->server.listen_after_bind();
}

void QuoteService::Stop() {
    impl_->server.stop();
}

}  // namespace quotes
