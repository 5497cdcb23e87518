// Whether a request's head frames its body so that the engine and every proxy in front of it
// read the same requests. Read from the head alone, before anything is answered.
#pragma once

#include <string>

namespace quotes {

// What the engine's parser saw of a request's head.
struct RequestHead {
    int version = 11;    // 10 or 11
    int hostFields = 0;  // how many Host fields it carries
    bool hasTransferEncoding = false;
    std::string transferEncoding;  // the field's value, all its lines joined
};

// 0 when the request may be answered; else the status to refuse it with, closing the
// connection: 400 when chunked is not the last coding (the body's end is unknown), or an
// HTTP/1.1 request has no Host or several; 501 for a coding other than chunked.
int FramingRefusal(const RequestHead& head);

}  // namespace quotes
