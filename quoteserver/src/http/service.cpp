// The service's HTTP engine, on Boost.Beast and Asio: the only file that sees them. A few event
// loops (`--threads`), each running the connections the acceptor hands it; no thread waits on a
// client. A connection reads one request at a time, under a deadline for its head, answers it,
// and only then reads the next: pipelined requests are answered in order. A reply that needs no
// network call is worked out on the loop, one that waits on a quote source on a pool.
#include "http/service.h"

// Before Asio: Boost 1.74's awaitable.hpp uses std::exchange without including <utility>.
#include <utility>

#include <array>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "common/milli_clock.h"
#include "http/reply_memo.h"
#include "http/reply_wire.h"
#include "http/request_framing.h"

namespace quotes {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

constexpr std::size_t kHeadLimit = 8 * 1024;  // request line and headers
constexpr std::size_t kBodyLimit = 8 * 1024;
// What a connection's read buffer may hold: a request whole, and what was pipelined behind it.
constexpr std::size_t kBufferLimit = 64 * 1024;
constexpr auto kWriteTimeout = std::chrono::seconds(30);
// After the last reply of a connection, how long its client's further bytes are read and
// dropped, so that closing does not reset the connection under the reply.
constexpr auto kLingerTime = std::chrono::seconds(2);
constexpr int kRelayThreads = 8;

// What answering a request needs of it, kept after its parser is gone.
struct Asked {
    std::string method;
    std::string target;
    std::string version;
    bool closes = true;  // the connection ends after the reply
    bool headOnly = false;
};

class Session;

// The fields that frame a request, every Transfer-Encoding line of it joined.
RequestHead HeadOf(const http::request<http::string_body>& request) {
    RequestHead head{static_cast<int>(request.version()),
                     static_cast<int>(request.count(http::field::host)),
                     false,
                     {}};
    for (auto [at, end] = request.equal_range(http::field::transfer_encoding); at != end; ++at)
        head.transferEncoding.append(at->value().data(), at->value().size()).push_back(',');
    head.hasTransferEncoding = !head.transferEncoding.empty();
    return head;
}

class Engine {
public:
    explicit Engine(ServiceOptions options);
    int Bind();
    bool Run();
    void Stop();

    const ServiceOptions& options() const { return options_; }
    std::chrono::milliseconds headerTimeout() const {
        return std::chrono::milliseconds(options_.headerTimeoutMs);
    }
    // Works out the reply and hands it to the session's Deliver, on the session's loop.
    void Answer(const std::shared_ptr<Session>& session, const Asked& asked);
    bool logging() const { return !options_.quiet; }
    void Log(const std::string& line);

private:
    void Accept();
    std::int64_t Now() const;
    // The handler's reply, or a 500 when working it out threw.
    Reply Guarded(const Asked& asked, const std::function<Reply()>& work) {
        return ReplyOrError(asked.target, work, [this](const std::string& line) { Log(line); });
    }

    ServiceOptions options_;
    std::vector<std::unique_ptr<asio::io_context>> loops_;
    std::vector<asio::executor_work_guard<asio::io_context::executor_type>> guards_;
    std::vector<ReplyMemo> memos_;  // one a loop
    std::unique_ptr<tcp::acceptor> acceptor_;
    std::optional<asio::steady_timer> acceptPause_;
    std::unique_ptr<asio::thread_pool> relay_;  // after the loops: it goes first
    std::size_t nextLoop_ = 0;
    bool acceptFailing_ = false;  // logged once until an accept succeeds again
    std::mutex logMutex_;
};

class Session : public std::enable_shared_from_this<Session> {
public:
    Session(Engine& engine, std::size_t loop, tcp::socket socket);
    std::size_t loop() const { return loop_; }
    void Start() { ReadRequest(); }
    void Deliver(Reply reply);
    asio::any_io_executor executor() { return stream_.get_executor(); }

private:
    void ReadRequest();
    void OnRequest(beast::error_code error);
    void Refuse(int status);
    void Send(Reply reply);
    void Write(std::string bytes, std::function<void()> then, std::string body = {});
    void Trickle(std::size_t offset);
    void Finish();
    void Linger();
    void Drain();

    Engine& engine_;
    std::size_t loop_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_{kBufferLimit};
    std::optional<http::request_parser<http::string_body>> parser_;
    asio::steady_timer timer_;
    Asked asked_;
    std::string out_, outBody_;
    std::string body_;  // a trickled body
    char drain_[512];
    std::string client_;
    int clientPort_ = 0;
};

Session::Session(Engine& engine, std::size_t loop, tcp::socket socket)
    : engine_(engine), loop_(loop), stream_(std::move(socket)), timer_(stream_.get_executor()) {
    beast::error_code ignored;
    const tcp::endpoint peer = stream_.socket().remote_endpoint(ignored);
    client_ = peer.address().to_string();
    clientPort_ = peer.port();
}

void Session::ReadRequest() {
    parser_.emplace();
    parser_->header_limit(kHeadLimit);
    parser_->body_limit(kBodyLimit);
    stream_.expires_after(engine_.headerTimeout());
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code error, std::size_t) {
                         self->OnRequest(error);
                     });
}

void Session::OnRequest(beast::error_code error) {
    // Gone, quiet past the deadline, or closed between requests: nothing to answer.
    const bool gone = error == http::error::end_of_stream || error == asio::error::eof ||
                      (error && error.category() == asio::error::get_system_category());
    if (gone || error == beast::error::timeout || error == asio::error::operation_aborted) {
        stream_.close();
        return;
    }
    if (error == http::error::header_limit) return Refuse(431);
    if (error == http::error::body_limit) return Refuse(413);
    if (error) return Refuse(400);
    const auto& request = parser_->get();
    if (request.version() != 10 && request.version() != 11) return Refuse(400);
    if (const int refusal = FramingRefusal(HeadOf(request))) return Refuse(refusal);
    asked_.method = std::string(request.method_string());
    asked_.target = std::string(request.target());
    asked_.version = request.version() == 10 ? "HTTP/1.0" : "HTTP/1.1";
    // An HTTP/1.0 client gets one reply a connection; HTTP/1.1 ones keep theirs unless asked.
    asked_.closes = request.version() == 10 || !request.keep_alive();
    asked_.headOnly = request.method() == http::verb::head;
    engine_.Answer(shared_from_this(), asked_);
}

// A request that cannot be read whole: its status, and the connection ends.
void Session::Refuse(int status) {
    Reply reply;
    reply.status = status;
    reply.body = std::string(Reason(status)) + "\r\n";
    asked_ = Asked{};
    Write(ReplyHead(reply, true) + reply.body, [this] { Linger(); });
}

void Session::Deliver(Reply reply) {
    const FaultModes& faults = engine_.options().faults;
    if (!reply.isQuotes || faults.delayMs <= 0) return Send(std::move(reply));
    timer_.expires_after(std::chrono::milliseconds(faults.delayMs));
    timer_.async_wait(
        [self = shared_from_this(), reply = std::move(reply)](beast::error_code error) mutable {
            if (!error) self->Send(std::move(reply));
        });
}

void Session::Send(Reply reply) {
    const FaultModes& faults = engine_.options().faults;
    if (reply.isQuotes) Disturb(faults, reply);
    if (engine_.logging()) {
        engine_.Log(LogLine(client_, clientPort_, asked_.method, asked_.target, asked_.version,
                            reply.status, reply.body.size()));
    }
    const bool cut = reply.isQuotes && faults.closeMidBody;
    std::string bytes = ReplyHead(reply, asked_.closes);
    if (asked_.headOnly) return Write(std::move(bytes), [this] { Finish(); });
    if (cut) {
        bytes += reply.body.substr(0, reply.body.size() / 2);
        return Write(std::move(bytes), [this] { Linger(); });
    }
    if (reply.isQuotes && faults.trickle) {
        body_ = std::move(reply.body);
        return Write(std::move(bytes), [this] { Trickle(0); });
    }
    Write(
        std::move(bytes), [this] { Finish(); }, std::move(reply.body));
}

// Writes the head and the body as they are, one gathered write.
void Session::Write(std::string bytes, std::function<void()> then, std::string body) {
    out_ = std::move(bytes);
    outBody_ = std::move(body);
    stream_.expires_after(kWriteTimeout);
    const std::array<asio::const_buffer, 2> buffers{asio::buffer(out_), asio::buffer(outBody_)};
    asio::async_write(
        stream_, buffers,
        [self = shared_from_this(), then = std::move(then)](beast::error_code error, std::size_t) {
            if (error) {
                self->stream_.close();
                return;
            }
            then();
        });
}

// The body in small pieces, each after a pause.
void Session::Trickle(std::size_t offset) {
    if (offset >= body_.size()) return Finish();
    timer_.expires_after(std::chrono::milliseconds(kTricklePauseMs));
    timer_.async_wait([self = shared_from_this(), offset](beast::error_code error) {
        if (error) return;
        self->Write(self->body_.substr(offset, kTrickleChunk),
                    [self, offset] { self->Trickle(offset + kTrickleChunk); });
    });
}

void Session::Finish() {
    if (asked_.closes) return Linger();
    ReadRequest();
}

// Ends the connection after what was written: no more is sent, and what the client still sends
// is read and dropped until it closes too, or for a short while.
void Session::Linger() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream_.expires_after(kLingerTime);
    Drain();
}

void Session::Drain() {
    stream_.async_read_some(asio::buffer(drain_),
                            [self = shared_from_this()](beast::error_code error, std::size_t) {
                                if (error) {
                                    self->stream_.close();
                                    return;
                                }
                                self->Drain();
                            });
}

Engine::Engine(ServiceOptions options) : options_(std::move(options)) {
    const int loops = options_.threads > 0 ? options_.threads : 1;
    for (int i = 0; i < loops; ++i) {
        loops_.push_back(std::make_unique<asio::io_context>(1));
        guards_.push_back(asio::make_work_guard(*loops_.back()));
    }
    memos_.resize(loops_.size());
    acceptPause_.emplace(*loops_[0]);
    if (options_.handler->Blocks()) relay_ = std::make_unique<asio::thread_pool>(kRelayThreads);
}

int Engine::Bind() {
    beast::error_code error;
    const std::string host = options_.host == "localhost" ? "127.0.0.1" : options_.host;
    const asio::ip::address address = asio::ip::make_address(host, error);
    if (error) return -1;
    const tcp::endpoint endpoint(address, static_cast<unsigned short>(options_.port));
    auto acceptor = std::make_unique<tcp::acceptor>(*loops_[0]);
    acceptor->open(endpoint.protocol(), error);
    if (!error) acceptor->set_option(asio::socket_base::reuse_address(true), error);
    if (!error) acceptor->bind(endpoint, error);
    if (!error) acceptor->listen(1024, error);
    if (error) return -1;
    acceptor_ = std::move(acceptor);
    return acceptor_->local_endpoint().port();
}

// Each accepted connection goes to the next loop in turn.
void Engine::Accept() {
    const std::size_t index = nextLoop_++ % loops_.size();
    acceptor_->async_accept(
        *loops_[index], [this, index](beast::error_code error, tcp::socket socket) {
            if (error == asio::error::operation_aborted) return;
            if (!error) {
                beast::error_code ignored;
                socket.set_option(tcp::no_delay(true), ignored);
                auto session = std::make_shared<Session>(*this, index, std::move(socket));
                asio::post(session->executor(), [session] { session->Start(); });
            }
            if (!error) {
                acceptFailing_ = false;
                return Accept();
            }
            // Out of descriptors, say: the next try after a pause, not at once and forever.
            if (!std::exchange(acceptFailing_, true)) Log("accept: " + error.message());
            acceptPause_->expires_after(std::chrono::milliseconds(50));
            acceptPause_->async_wait([this](beast::error_code) { Accept(); });
        });
}

bool Engine::Run() {
    if (!acceptor_) return false;
    Accept();
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < loops_.size(); ++i) {
        threads.emplace_back([loop = loops_[i].get()] { loop->run(); });
    }
    loops_[0]->run();
    for (auto& loop : loops_) loop->stop();
    for (auto& thread : threads) thread.join();
    // A relay call in flight ends within its budget; its reply goes to a stopped loop.
    if (relay_) relay_->join();
    return true;
}

void Engine::Stop() {
    for (auto& loop : loops_) loop->stop();
    if (relay_) relay_->stop();
}

std::int64_t Engine::Now() const {
    return options_.clock ? *options_.clock : static_cast<std::int64_t>(std::time(nullptr));
}

// A reply needing no network call is worked out here, on the loop; the others on the pool.
// Repeated quote requests within a second are answered from the loop's memo.
void Engine::Answer(const std::shared_ptr<Session>& session, const Asked& asked) {
    const std::int64_t now = Now();
    ReplyMemo& memo = memos_[session->loop()];
    if (asked.method == "GET") {
        if (const Reply* kept = memo.Find(asked.target, now)) return session->Deliver(*kept);
    }
    RequestHandler& handler = *options_.handler;
    const Request request{asked.method, asked.target, now, SteadyMilliseconds() + kRequestBudgetMs};
    bool deferred = false;
    Reply reply = Guarded(asked, [&] {
        std::optional<Reply> quick = handler.AnswerAtOnce(request);
        if (!quick && !relay_) quick = handler.Answer(request);
        deferred = !quick;
        return quick ? std::move(*quick) : Reply{};
    });
    if (!deferred) {
        if (asked.method == "GET" && reply.isQuotes) memo.Keep(asked.target, now, reply);
        return session->Deliver(std::move(reply));
    }
    // The request's views point into `asked`, which the pool's task keeps.
    asio::post(*relay_, [this, session, asked, deadline = request.deadlineMs, now] {
        const Request later{asked.method, asked.target, now, deadline};
        Reply answer = Guarded(asked, [&] { return options_.handler->Answer(later); });
        asio::post(session->executor(), [session, answer = std::move(answer)]() mutable {
            session->Deliver(std::move(answer));
        });
    });
}

void Engine::Log(const std::string& line) {
    if (options_.quiet) return;
    std::lock_guard<std::mutex> lock(logMutex_);
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

struct QuoteService::Impl : Engine {
    using Engine::Engine;
};

QuoteService::QuoteService(ServiceOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

QuoteService::~QuoteService() = default;

int QuoteService::Bind() {
    return impl_->Bind();
}

bool QuoteService::Run() {
    return impl_->Run();
}

void QuoteService::Stop() {
    impl_->Stop();
}

}  // namespace quotes
