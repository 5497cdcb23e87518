// An HTTP/1.x reply read from the bytes as they come: the status line, the headers, and a
// body framed by Content-Length, by chunks, or by the end of the connection. Interim (1xx)
// replies are skipped. Pure: the socket is the caller's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::detail {

class ReplyParser {
public:
    enum class State { head, body, done, bad };

    // Bodies longer than `bodyLimit` bytes are cut there, and the reply goes bad.
    explicit ReplyParser(std::size_t bodyLimit) : bodyLimit_(bodyLimit) {}

    void Feed(std::string_view bytes);
    // The connection ended: a body that runs to the close is done; anything else is bad.
    void End();

    State state() const { return state_; }
    // 0 until a whole status line and its headers came.
    long status() const { return status_; }
    const std::string& body() const { return body_; }
    // The connection may carry the next request: framed body, no "close", no leftovers.
    bool KeepsConnection() const;

private:
    enum class Framing { length, chunked, toClose, none };

    void Run();
    bool ReadHead();
    bool TakeHeader(std::string_view line);
    void ReadBody();
    void ReadChunks();
    void Append(std::string_view bytes);
    void Fail() { state_ = State::bad; }

    std::size_t bodyLimit_;
    State state_ = State::head;
    std::string pending_;
    long status_ = 0;
    long headStatus_ = 0;
    bool http10_ = false;
    bool closes_ = false;
    Framing framing_ = Framing::toClose;
    std::size_t length_ = 0;  // Content-Length, or what is left of the current chunk
    bool inChunkData_ = false;
    bool inTrailers_ = false;
    std::size_t headBytes_ = 0;
    std::string body_;
};

}  // namespace platform::detail
