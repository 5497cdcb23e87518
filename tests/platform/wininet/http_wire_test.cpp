// The HTTP client's own wire: replies read from any split of their bytes, TICKWELL_CONNECT_TO
// routes, and one kept-alive connection that is opened again when the server closed it.
#include <gtest/gtest.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

#include "support/scripted_server.h"
#include "wininet/connect_routes.h"
#include "wininet/http_wire.h"
#include "wininet/reply_parser.h"

namespace {

using platform::detail::Endpoint;
using platform::detail::HttpWire;
using platform::detail::ReplyParser;
using State = ReplyParser::State;

struct ReplyCase {
    const char* name;
    std::string bytes;
    bool closed;  // the connection ends after the bytes
    long status;
    std::string body;
    State state;
    bool keeps;
};

const std::vector<ReplyCase> kReplies = {
    {"Length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nabcde", false, 200, "abcde",
     State::done, true},
    {"LengthCut", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabcde", true, 200, "abcde",
     State::bad, false},
    {"Chunked",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\nA\r\n0123456789\r\n"
     "0\r\nTrailer: 1\r\n\r\n",
     false, 200, "abc0123456789", State::done, true},
    {"ChunkedCut", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n5\r\nde", true,
     200, "abcde", State::bad, false},
    {"ChunkSizeNotHex", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", false, 200,
     "", State::bad, false},
    {"ToClose", "HTTP/1.0 200 OK\r\n\r\nall of it", true, 200, "all of it", State::done, false},
    {"InterimThenReply",
     "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 404 No\r\nContent-Length: 0\r\n\r\n", false, 404, "",
     State::done, true},
    {"BytesPastTheEnd", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nxy", false, 200, "x",
     State::done, false},
    {"NoContent", "HTTP/1.1 204 No Content\r\n\r\n", false, 204, "", State::done, true},
    {"Http10KeepAlive", "HTTP/1.0 200 OK\r\nConnection: keep-alive\r\nContent-Length: 1\r\n\r\nx",
     false, 200, "x", State::done, true},
    {"ConnectionClose", "HTTP/1.1 999 Odd\r\nConnection: close\r\nContent-Length: 1\r\n\r\nx",
     false, 999, "x", State::done, false},
    {"NotHttp", "\"MSFT\",1,2\r\n", true, 0, "", State::bad, false},
    {"StatusTooShort", "HTTP/1.1 20 OK\r\n\r\n", false, 0, "", State::bad, false},
    {"TwoLengths", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nxy", false, 0,
     "", State::bad, false},
    {"OverTheLimit", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n0123456789abcdef", false, 200,
     "0123456789", State::bad, false},
};

class ReplyParserTest : public ::testing::TestWithParam<ReplyCase> {};

// Whole, and then a byte at a time: the same reply.
TEST_P(ReplyParserTest, ReadsTheSameFromAnySplit) {
    const ReplyCase& c = GetParam();
    for (const std::size_t step : {c.bytes.size(), std::size_t{1}}) {
        ReplyParser parser(10 + (c.body.size() > 10 ? c.body.size() : 0));
        for (std::size_t at = 0; at < c.bytes.size(); at += step)
            parser.Feed(std::string_view(c.bytes).substr(at, step));
        if (c.closed) parser.End();
        SCOPED_TRACE(step);
        EXPECT_EQ(parser.status(), c.status);
        EXPECT_EQ(parser.body(), c.body);
        EXPECT_EQ(parser.state(), c.state);
        EXPECT_EQ(parser.KeepsConnection(), c.keeps);
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyParserTest, ::testing::ValuesIn(kReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConnectRoutesTest, FirstMatchingEntryRoutes) {
    const Endpoint yahoo{"download.finance.yahoo.com", 80};
    const struct {
        const char* routes;
        Endpoint to;
    } cases[] = {
        {"", yahoo},
        {"::127.0.0.1:8080", {"127.0.0.1", 8080}},
        {"DOWNLOAD.finance.yahoo.com:80:[::1]:", {"::1", 80}},
        {"other:80:1.2.3.4:1,download.finance.yahoo.com::1.1.1.1:99", {"1.1.1.1", 99}},
        {":81:1.2.3.4:1", yahoo},                // another port
        {"::1.2.3.4:0,::1.2.3.4:x,a:b", yahoo},  // unsound entries are passed over
        {":::", yahoo},
    };
    for (const auto& c : cases) {
        const Endpoint to = platform::detail::RouteFor(c.routes, yahoo);
        EXPECT_EQ(to.host, c.to.host) << c.routes;
        EXPECT_EQ(to.port, c.to.port) << c.routes;
    }
}

// The server closes the first connection after its reply without saying so, and says so
// after the second reply: three requests take two connections, each answered.
TEST(HttpWireTest, KeepsTheConnectionAndOpensAnotherWhenTheServerClosedIt) {
    tickwell_test::ScriptedServer server([](int index, const std::string&) {
        tickwell_test::ScriptedReply reply{
            tickwell_test::HttpReplyBytes(200, std::to_string(index))};
        reply.close = index == 0;
        if (index == 2) reply.bytes.insert(reply.bytes.find("\r\n") + 2, "Connection: close\r\n");
        return reply;
    });
    HttpWire wire;
    const Endpoint to{"127.0.0.1", server.port()};
    for (const char* body : {"0", "1", "2", "3"}) {
        const auto reply = wire.Exchange(to, "GET /\"a,b\" HTTP/1.1\r\nHost: h\r\n\r\n", {});
        EXPECT_EQ(reply.status, 200);
        EXPECT_EQ(reply.body, body);
        EXPECT_TRUE(reply.whole);
    }
    EXPECT_EQ(server.connections(), 3);
    EXPECT_EQ(server.requests().front().substr(0, 22), "GET /\"a,b\" HTTP/1.1\r\nH");
}

// A loopback listener whose connections the test drives by hand.
class HandServer {
public:
    HandServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, 4);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~HandServer() { ::close(fd_); }
    int port() const { return port_; }
    // No more connections: an Answer waiting for one gives up.
    void Stop() const { ::shutdown(fd_, SHUT_RDWR); }
    // The next connection, its request read.
    int Answer() const {
        const int c = ::accept(fd_, nullptr, nullptr);
        char buffer[4096];
        if (c >= 0) (void)!::recv(c, buffer, sizeof buffer, 0);
        return c;
    }
    // Writes `bytes` and waits until the peer has them.
    static void Send(int c, const std::string& bytes) {
        (void)!::send(c, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        for (int queued = 1; queued > 0;) {
            if (::ioctl(c, SIOCOUTQ, &queued) != 0) break;
            if (queued > 0) std::this_thread::yield();
        }
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

// An idle kept connection that has something on it (a 408 before its close, an unasked reply)
// is not reused: the next request goes on a new one and gets its own reply.
TEST(HttpWireTest, AKeptConnectionWithBytesOnItIsNotReused) {
    HandServer server;
    std::promise<void> firstRead, strayThere;
    std::thread serve([&] {
        const int first = server.Answer();
        HandServer::Send(first, tickwell_test::HttpReplyBytes(200, "first"));
        firstRead.get_future().wait();
        HandServer::Send(first, "HTTP/1.1 408 Request Timeout\r\nContent-Length: 0\r\n\r\n");
        strayThere.set_value();
        const int second = server.Answer();
        HandServer::Send(second, tickwell_test::HttpReplyBytes(200, "second"));
        ::close(first);
        ::close(second);
    });
    HttpWire wire;
    const Endpoint to{"127.0.0.1", server.port()};
    const std::string head = "GET / HTTP/1.1\r\nHost: h\r\n\r\n";
    EXPECT_EQ(wire.Exchange(to, head, {}).body, "first");
    firstRead.set_value();
    strayThere.get_future().wait();  // the 408 lies on the kept connection
    const auto reply = wire.Exchange(to, head, {});
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "second");
    server.Stop();
    serve.join();
}

// A body that runs to the close, cut by a reset, is not whole.
TEST(HttpWireTest, AResetIsNoEnd) {
    HandServer server;
    std::thread serve([&] {
        const int c = server.Answer();
        HandServer::Send(c, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n\"MSFT\",1\r\n\"IB");
        const linger reset{1, 0};
        ::setsockopt(c, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        ::close(c);
    });
    HttpWire wire;
    const auto reply =
        wire.Exchange({"127.0.0.1", server.port()}, "GET / HTTP/1.1\r\nHost: h\r\n\r\n", {});
    serve.join();
    EXPECT_FALSE(reply.whole);
}

}  // namespace
