#include "wininet/reply_parser.h"

#include <algorithm>
#include <charconv>

#include "host/ascii.h"

namespace platform::detail {
namespace {

// A status line and headers longer than this are no reply of ours.
constexpr std::size_t kHeadLimit = 64 * 1024;
// A chunk-size line, extensions and all.
constexpr std::size_t kChunkLineLimit = 1024;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool HasToken(std::string_view list, std::string_view token) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (EqualsIgnoringAsciiCase(Trimmed(list.substr(0, comma)), token)) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

// "HTTP/1.x NNN[ reason]": the status, or 0.
long StatusOf(std::string_view line, bool& http10) {
    if (line.size() < 12 || line.substr(0, 7) != "HTTP/1." || line[8] != ' ') return 0;
    if (line.size() > 12 && line[12] != ' ') return 0;
    http10 = line[7] == '0';
    long status = 0;
    const char* first = line.data() + 9;
    const auto [end, error] = std::from_chars(first, first + 3, status);
    return (error == std::errc() && end == first + 3 && status >= 100) ? status : 0;
}

// Takes one CRLF- (or LF-) ended line off the front of `pending`; false when none is whole.
bool TakeLine(std::string& pending, std::string& line) {
    const std::size_t lf = pending.find('\n');
    if (lf == std::string::npos) return false;
    line.assign(pending, 0, lf);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pending.erase(0, lf + 1);
    return true;
}

}  // namespace

void ReplyParser::Feed(std::string_view bytes) {
    if (state_ == State::done || state_ == State::bad) {
        pending_.append(bytes.substr(0, 1));  // past the reply's end: only that some came counts
        return;
    }
    pending_.append(bytes);
    Run();
}

void ReplyParser::End() {
    if (state_ == State::body && framing_ == Framing::toClose) {
        state_ = State::done;
    } else if (state_ != State::done) {
        Fail();
    }
}

bool ReplyParser::KeepsConnection() const {
    return state_ == State::done && !closes_ && framing_ != Framing::toClose && pending_.empty();
}

void ReplyParser::Run() {
    while (state_ == State::head && ReadHead()) {
    }
    if (state_ == State::body) {
        if (framing_ == Framing::chunked) {
            ReadChunks();
        } else {
            ReadBody();
        }
    }
}

// One line of the head; false when no whole line is waiting or the reply went bad.
bool ReplyParser::ReadHead() {
    std::string line;
    if (!TakeLine(pending_, line)) {
        if (headBytes_ + pending_.size() > kHeadLimit) Fail();
        return false;
    }
    headBytes_ += line.size() + 2;
    if (headBytes_ > kHeadLimit) {
        Fail();
        return false;
    }
    if (headStatus_ == 0) {
        headStatus_ = StatusOf(line, http10_);
        closes_ = http10_;
        if (headStatus_ == 0) Fail();
        return headStatus_ != 0;
    }
    if (!line.empty()) return TakeHeader(line);
    if (headStatus_ < 200) {  // an interim reply: the real one follows
        headStatus_ = 0;
        headBytes_ = 0;
        framing_ = Framing::toClose;
        return true;
    }
    status_ = headStatus_;
    if (status_ == 204 || status_ == 304) framing_ = Framing::none;
    state_ = framing_ == Framing::none || (framing_ == Framing::length && length_ == 0)
                 ? State::done
                 : State::body;
    return false;
}

bool ReplyParser::TakeHeader(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return true;  // not a header: ignored
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (EqualsIgnoringAsciiCase(name, "Transfer-Encoding")) {
        if (HasToken(value, "chunked")) framing_ = Framing::chunked;
    } else if (EqualsIgnoringAsciiCase(name, "Content-Length") && framing_ != Framing::chunked) {
        std::size_t length = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), length);
        const bool sound = error == std::errc() && end == value.data() + value.size();
        if (!sound || (framing_ == Framing::length && length != length_)) {
            Fail();
            return false;
        }
        framing_ = Framing::length;
        length_ = length;
    } else if (EqualsIgnoringAsciiCase(name, "Connection")) {
        if (HasToken(value, "close")) closes_ = true;
        if (HasToken(value, "keep-alive")) closes_ = false;
    }
    return true;
}

void ReplyParser::ReadBody() {
    if (framing_ == Framing::toClose) {
        Append(pending_);
        pending_.clear();
        return;
    }
    const std::size_t n = std::min(length_, pending_.size());
    Append(std::string_view(pending_).substr(0, n));
    pending_.erase(0, n);
    length_ -= n;
    if (length_ == 0 && state_ == State::body) state_ = State::done;
}

void ReplyParser::ReadChunks() {
    while (state_ == State::body) {
        if (inChunkData_) {
            const std::size_t n = std::min(length_, pending_.size());
            Append(std::string_view(pending_).substr(0, n));
            pending_.erase(0, n);
            length_ -= n;
            if (length_ > 0 || state_ != State::body) return;
            inChunkData_ = false;
            if (pending_.size() < 2) {
                inChunkData_ = true;  // the CRLF after the data is not here yet
                return;
            }
            if (pending_.compare(0, 2, "\r\n") != 0) {
                Fail();
                return;
            }
            pending_.erase(0, 2);
            continue;
        }
        std::string line;
        if (!TakeLine(pending_, line)) {
            if (pending_.size() > kChunkLineLimit) Fail();
            return;
        }
        if (inTrailers_) {
            if (line.empty()) state_ = State::done;
            continue;
        }
        const std::string_view size = Trimmed(std::string_view(line).substr(0, line.find(';')));
        const auto [end, error] =
            std::from_chars(size.data(), size.data() + size.size(), length_, 16);
        if (size.empty() || error != std::errc() || end != size.data() + size.size()) {
            Fail();
            return;
        }
        if (length_ == 0) {
            inTrailers_ = true;
        } else {
            inChunkData_ = true;
        }
    }
}

void ReplyParser::Append(std::string_view bytes) {
    const std::size_t room = bodyLimit_ - body_.size();
    body_.append(bytes.substr(0, room));
    if (bytes.size() > room) Fail();
}

}  // namespace platform::detail
