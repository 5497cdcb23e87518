// The service's connection handling against clients that pipeline, dawdle or go quiet.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "http/reply_memo.h"
#include "support/service_process.h"

namespace {

using tickwell_test::Connect;
using tickwell_test::SendAll;
using tickwell_test::ServiceProcess;
using Clock = std::chrono::steady_clock;

// What arrives until the server closes, `enough` says so, or the bound passes (a failure
// bound, never a wait: the server is done long before).
template <typename Enough>
std::string ReadUntil(int fd, Enough enough, bool& closed, int boundMs = 10000) {
    std::string data;
    closed = false;
    const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
    while (!enough(data) && Clock::now() < end) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 100) <= 0) continue;
        char buffer[65536];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            closed = true;
            break;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

std::string QuoteRequest(const std::string& symbol, const char* version = "HTTP/1.1") {
    return "GET /d/quotes.csv?s=" + symbol + "&f=s " + version + "\r\nHost: x\r\n\r\n";
}

TEST(ServiceEngine, PipelinedRequestsAreAnsweredInOrder) {
    ServiceProcess service({"--quiet"});
    const char* symbols[] = {"MSFT", "IBM", "RY.TO", "VOD.L", "GE"};
    for (const std::size_t requests : {std::size_t{2}, std::size_t{100}}) {
        std::string bytes, expected;
        for (std::size_t i = 0; i < requests; ++i) {
            bytes += QuoteRequest(symbols[i % 5]);
            expected += "\"" + std::string(symbols[i % 5]) + "\"\r\n";
        }
        const int fd = Connect(service.port());
        ASSERT_TRUE(SendAll(fd, bytes));
        bool closed = false;
        const std::string replies = ReadUntil(
            fd, [&](const std::string& d) { return Count(d, "HTTP/1.1 200") >= requests; }, closed);
        ::close(fd);
        EXPECT_EQ(Count(replies, "HTTP/1.1 200"), requests);
        std::string bodies;  // each reply's body, in the order they came
        for (std::size_t at = replies.find("\r\n\r\n"); at != std::string::npos;
             at = replies.find("\r\n\r\n", at + 4)) {
            bodies += replies.substr(at + 4, replies.find("\r\n", at + 4) + 2 - (at + 4));
        }
        EXPECT_EQ(bodies, expected) << requests << " pipelined";
    }
}

TEST(ServiceEngine, AnHttp10ErrorReplyClosesTheConnection) {
    ServiceProcess service({"--quiet"});
    const int fd = Connect(service.port());
    ASSERT_TRUE(SendAll(fd, "GET /no-such-page HTTP/1.0\r\n\r\n" + QuoteRequest("MSFT")));
    bool closed = false;
    const std::string replies = ReadUntil(
        fd, [](const std::string&) { return false; }, closed);
    ::close(fd);
    EXPECT_TRUE(closed);
    EXPECT_EQ(replies.rfind("HTTP/1.1 404 ", 0), 0u) << replies;
    EXPECT_NE(replies.find("\r\nConnection: close\r\n"), std::string::npos);
    EXPECT_EQ(Count(replies, "HTTP/1.1 "), 1u);
}

// Framing that a proxy in front could read otherwise is refused and the connection closed, so
// that what follows the head is never read as a request of its own.
TEST(ServiceEngine, RequestsFramedAgainstTheRulesAreRefusedAndClosed) {
    ServiceProcess service({"--quiet"});
    const std::string get = "GET /d/quotes.csv?s=MSFT&f=s HTTP/1.1\r\n";
    const std::string smuggled = "0\r\n\r\n" + QuoteRequest("IBM");
    const struct {
        std::string request;
        const char* status;
    } cases[] = {
        {get + "Host: x\r\nTransfer-Encoding: chunked, identity\r\n\r\n" + smuggled, "400"},
        {get + "Host: x\r\nTransfer-Encoding: chunked\r\nTransfer-Encoding: identity\r\n\r\n" +
             smuggled,
         "400"},
        {get + "Host: x\r\nTransfer-Encoding: identity\r\n\r\n" + smuggled, "501"},
        {get + "Host: x\r\nTransfer-Encoding: gzip, chunked\r\n\r\n" + smuggled, "501"},
        {get + "\r\n" + QuoteRequest("IBM"), "400"},
        {get + "Host: x\r\nHost: y\r\n\r\n" + QuoteRequest("IBM"), "400"},
    };
    for (const auto& c : cases) {
        const int fd = Connect(service.port());
        ASSERT_TRUE(SendAll(fd, c.request));
        bool closed = false;
        const std::string replies = ReadUntil(
            fd, [](const std::string&) { return false; }, closed);
        ::close(fd);
        EXPECT_TRUE(closed) << c.request;
        EXPECT_EQ(replies.rfind(std::string("HTTP/1.1 ") + c.status + " ", 0), 0u) << replies;
        EXPECT_EQ(Count(replies, "HTTP/1.1 "), 1u) << replies;
    }
    // Chunked alone, and HTTP/1.0 without Host, are answered as ever.
    const auto chunked = tickwell_test::SendRaw(
        service.port(),
        get + "Host: x\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n0\r\n\r\n", 3000);
    EXPECT_EQ(chunked.body, "\"MSFT\"\r\n");
    EXPECT_EQ(
        tickwell_test::SendRaw(service.port(), "GET /d/quotes.csv?s=IBM&f=s HTTP/1.0\r\n\r\n", 3000)
            .body,
        "\"IBM\"\r\n");
}

// Out of descriptors, the service pauses its accepts, says so once, answers the connections it
// holds, and takes new ones again once descriptors come back; the sanitizer build included.
TEST(ServiceEngine, RunningOutOfDescriptorsPausesAcceptsAndRecovers) {
    ServiceProcess service = ServiceProcess::Limited(40);
    const int held = Connect(service.port());
    std::vector<int> flood;
    for (int i = 0; i < 64; ++i) flood.push_back(Connect(service.port()));
    const auto said = [&](const std::vector<std::string>& log) {
        for (const std::string& line : log)
            if (line.find("accept: Too many open files") != std::string::npos) return true;
        return false;
    };
    std::vector<std::string> log;  // every line that comes, until the one looked for
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (!said(log) && Clock::now() < end) log = service.WaitForLog(log.size() + 1, 200);
    ASSERT_TRUE(said(log));
    ASSERT_TRUE(SendAll(held, QuoteRequest("MSFT")));
    bool closed = false;
    const std::string during = ReadUntil(
        held, [](const std::string& d) { return d.find("\"MSFT\"\r\n") != std::string::npos; },
        closed);
    EXPECT_NE(during.find("\"MSFT\"\r\n"), std::string::npos) << during;
    ::close(held);
    for (const int fd : flood) ::close(fd);
    EXPECT_EQ(tickwell_test::Get(service.port(), "/d/quotes.csv?s=IBM&f=s").body, "\"IBM\"\r\n");
    EXPECT_TRUE(service.running());
}

// 64 connections that say nothing and 8 that send a head a line at a time hold no one up;
// the ones that dawdle are closed once their head is late.
TEST(ServiceEngine, QuietAndDawdlingClientsStarveNoOne) {
    ServiceProcess service({"--quiet", "--header-timeout", "1000"});
    std::vector<int> idle, dawdling;
    for (int i = 0; i < 64; ++i) idle.push_back(Connect(service.port()));
    for (int i = 0; i < 8; ++i) {
        dawdling.push_back(Connect(service.port()));
        SendAll(dawdling.back(), "GET /d/quotes.csv?s=MSFT&f=s HTTP/1.1\r\nHost: x\r\n");
    }
    const auto reply = tickwell_test::SendRaw(service.port(), QuoteRequest("MSFT"), 3000);
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.body, "\"MSFT\"\r\n");
    // A header line every 100 ms: never quiet for long, but the head is never whole.
    bool closed = false;
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (!closed && Clock::now() < end) {
        SendAll(dawdling[0], "X-More: y\r\n");
        ReadUntil(
            dawdling[0], [](const std::string&) { return false; }, closed, 100);
    }
    EXPECT_TRUE(closed);
    for (int fd : idle) ::close(fd);
    for (int fd : dawdling) ::close(fd);
}

TEST(ReplyMemo, KeepsTheCurrentSecondsRepeatedRepliesWithinItsBounds) {
    quotes::ReplyMemo memo;
    quotes::Reply reply;
    reply.body = "\"MSFT\",417.89\r\n";
    const auto keepTwice = [&](const std::string& target, std::int64_t second) {
        memo.Keep(target, second, reply);
        memo.Keep(target, second, reply);
    };
    memo.Keep("/a", 100, reply);
    EXPECT_EQ(memo.Find("/a", 100), nullptr);  // asked once: not worth a copy yet
    memo.Keep("/a", 100, reply);
    ASSERT_NE(memo.Find("/a", 100), nullptr);
    EXPECT_EQ(memo.Find("/a", 100)->body, reply.body);
    EXPECT_EQ(memo.Find("/a", 101), nullptr);
    EXPECT_EQ(memo.Find("/b", 100), nullptr);
    keepTwice("/b", 101);  // a new second forgets the last one's
    EXPECT_EQ(memo.Find("/a", 101), nullptr);
    memo.Keep("/a", 101, reply);  // and what it had seen
    EXPECT_EQ(memo.Find("/a", 101), nullptr);
    for (std::size_t i = 0; i <= quotes::ReplyMemo::kEntries; ++i)
        keepTwice("/" + std::to_string(i), 101);
    EXPECT_EQ(memo.Find("/0", 101), nullptr);  // full: started again
    EXPECT_NE(memo.Find("/" + std::to_string(quotes::ReplyMemo::kEntries), 101), nullptr);
    reply.body.assign(quotes::ReplyMemo::kBytes, 'x');
    keepTwice("/huge", 101);
    EXPECT_EQ(memo.Find("/huge", 101), nullptr);
}

}  // namespace
