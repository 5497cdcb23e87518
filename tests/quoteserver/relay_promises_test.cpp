// What the relay promises a request whatever its upstreams do: one deadline for the whole
// request, a claim on a symbol that ends with its fetch, and cheap routes that never queue
// behind stalled calls.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "relay/providers/keyed_sources.h"
#include "relay/providers/yahoo_source.h"
#include "routes/routes.h"
#include "sources/source_chain.h"
#include "support/service_process.h"

namespace {

using Clock = std::chrono::steady_clock;

// An upstream whose every call runs until the time it is given is spent, on the test's clock.
class StallingHttp final : public quotes::UpstreamHttp {
public:
    explicit StallingHttp(std::atomic<std::int64_t>& ms) : ms_(ms) {}
    std::vector<quotes::UpstreamResponse> Fetch(const std::vector<quotes::UpstreamRequest>& asked,
                                                long mostMs) override {
        calls += static_cast<int>(asked.size());
        ms_ += mostMs > 0 ? mostMs : 10000;
        std::vector<quotes::UpstreamResponse> answers(asked.size());
        for (auto& answer : answers) answer.error = "timed out";
        return answers;
    }
    std::atomic<int> calls{0};

private:
    std::atomic<std::int64_t>& ms_;
};

TEST(RelayPromises, ThreeStallingSourcesSpendOneDeadline) {
    std::atomic<std::int64_t> ms{1'000'000};
    StallingHttp http(ms);
    const quotes::RelayContext context{&http, [&] { return ms.load(); }, {}, 30};
    std::vector<std::unique_ptr<quotes::QuoteSource>> sources;
    sources.push_back(std::make_unique<quotes::YahooSource>(context, quotes::YahooHosts{}));
    sources.push_back(std::make_unique<quotes::FinnhubSource>(context, "http://f", "key"));
    sources.push_back(std::make_unique<quotes::TwelveDataSource>(context, "http://t", "key"));
    quotes::SourceChain chain(std::move(sources));

    const std::int64_t deadline = ms + quotes::kRequestBudgetMs;
    const quotes::Reply reply =
        quotes::Respond({"GET", "/d/quotes.csv?s=MSFT&f=sl1", 0, deadline}, chain);
    EXPECT_EQ(reply.status, 503);
    EXPECT_LE(ms.load(), deadline);
    EXPECT_GE(http.calls.load(), 1);
    // Nothing left for a later source: it makes no call at all.
    const int calls = http.calls;
    quotes::Respond({"GET", "/d/quotes.csv?s=IBM&f=sl1", 0, ms.load() + 100}, chain);
    EXPECT_EQ(http.calls.load(), calls);
}

// A source whose first fetch reads MSFT and then throws.
class ThrowingSource final : public quotes::LiveSource {
public:
    explicit ThrowingSource(const quotes::RelayContext& context)
        : LiveSource("throwing", context, 60, 10) {}
    int fetches = 0;

protected:
    std::string SourceSymbol(const std::string& requested) const override { return requested; }
    void Fetch(const std::vector<std::string>& symbols, quotes::FetchResult& result) override {
        if (fetches++ == 0) {
            result.quotes["MSFT"].last = 541.55;
            throw std::runtime_error("cut short");
        }
        for (const std::string& s : symbols) result.quotes[s].last = 100;
    }
};

TEST(RelayPromises, AFetchThatThrowsKeepsWhatItReadAndReleasesItsClaim) {
    std::atomic<std::int64_t> ms{1'000'000};
    StallingHttp http(ms);
    std::mutex mutex;
    std::vector<std::string> log;
    const quotes::RelayContext context{&http, [&] { return ms.load(); },
                                       [&](const std::string& line) {
                                           std::lock_guard<std::mutex> lock(mutex);
                                           log.push_back(line);
                                       },
                                       30};
    ThrowingSource source(context);
    auto ask = [&](const std::vector<std::string>& symbols) {
        quotes::QuoteAnswers answers(symbols.size());
        source.Answer(symbols, {"s", "l1"}, 0, quotes::Freshness::fresh, ms + 15000, answers);
        return answers;
    };
    const auto first = ask({"MSFT", "IBM"});
    EXPECT_EQ(first.Line(0), "\"MSFT\",541.55");
    EXPECT_EQ(first.Kind(1), quotes::AnswerKind::none);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("cut short"), std::string::npos) << log[0];
    // IBM was claimed by the fetch that threw: the next request fetches it again, no waiting.
    const auto second = ask({"IBM"});
    EXPECT_EQ(source.fetches, 2);
    EXPECT_EQ(second.Line(0), "\"IBM\",100.00");
}

// With its host unreachable (nothing listens on its port), a live source says so in /status
// once the start's check has looked, the log names the host once, and the chain's next source
// answers.
TEST(RelayPromises, AnUnreachableSourceSaysSoOnceAndTheNextAnswers) {
    const int closed = tickwell_test::ClosedPort();
    auto service =
        tickwell_test::ServiceProcess::Logged({"--source", "yahoo,simulated", "--upstream",
                                               "yahoo=http://127.0.0.1:" + std::to_string(closed)});
    std::string status;
    for (int i = 0; i < 500; ++i) {  // until the check has looked: a failure bound, no wait
        status = tickwell_test::Get(service.port(), "/status").body;
        if (status.find("yahoo: checking") == std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_NE(status.find("yahoo: unreachable"), std::string::npos) << status;
    const auto quotes = tickwell_test::Get(service.port(), "/d/quotes.csv?s=MSFT&f=sl1");
    EXPECT_EQ(quotes.status, 200);
    EXPECT_EQ(quotes.body.rfind("\"MSFT\",", 0), 0u) << quotes.body;
    std::size_t told = 0;
    for (const std::string& line : service.WaitForLog(2)) {
        told += line.find("yahoo cannot reach 127.0.0.1") != std::string::npos;
    }
    EXPECT_EQ(told, 1u);
}

// A server that takes every connection and never answers one.
class SilentServer {
public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(fd_, 64);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (;;) {
                const int client = ::accept(fd_, nullptr, nullptr);
                if (client < 0) return;
                std::lock_guard<std::mutex> lock(mutex_);
                clients_.push_back(client);
            }
        });
    }
    ~SilentServer() {
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
        for (int client : clients_) ::close(client);
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // Ends every call taken so far.
    void Drop() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int client : clients_) ::close(client);
        clients_.clear();
    }
    std::size_t accepted() {
        std::lock_guard<std::mutex> lock(mutex_);
        return clients_.size();
    }

private:
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<int> clients_;
};

TEST(RelayPromises, StatusIsAnsweredWhileEveryRelayThreadWaitsOnAStalledCall) {
    SilentServer upstream;
    char dir[] = "/tmp/tickwell-promises-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string config = std::string(dir) + "/quotes.conf";
    std::ofstream(config) << "FINNHUB_API_KEY=fh-test\n";
    tickwell_test::ServiceProcess service(
        {"--source", "finnhub", "--upstream", "finnhub=" + upstream.url(), "--config", config});
    // One quote request a relay thread, each with a symbol of its own: each stalls a call.
    constexpr int kRelayThreads = 8;
    std::vector<int> waiting;
    for (int i = 0; i < kRelayThreads; ++i) {
        const int fd = tickwell_test::Connect(service.port());
        ASSERT_GE(fd, 0);
        const std::string symbol = "S" + std::to_string(i);
        ASSERT_TRUE(tickwell_test::SendAll(
            fd, "GET /d/quotes.csv?s=" + symbol + "&f=sl1 HTTP/1.1\r\nHost: x\r\n\r\n"));
        waiting.push_back(fd);
    }
    // One connection a stalled call, and the one of the start's check whether the host is there.
    const std::size_t connections = kRelayThreads + 1;
    const auto bound = Clock::now() + std::chrono::seconds(10);  // a failure bound, no wait
    while (upstream.accepted() < connections && Clock::now() < bound) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(upstream.accepted(), connections);

    const tickwell_test::HttpReply status = tickwell_test::Get(service.port(), "/status");
    ASSERT_TRUE(status.ok);
    EXPECT_EQ(status.status, 200);
    EXPECT_NE(status.body.find("finnhub: "), std::string::npos) << status.body;
    // Every quote request is still waiting on its call.
    for (int fd : waiting) {
        pollfd entry{fd, POLLIN, 0};
        EXPECT_EQ(::poll(&entry, 1, 0), 0);
        ::close(fd);
    }
    upstream.Drop();
    std::remove(config.c_str());
    ::rmdir(dir);
}

}  // namespace
