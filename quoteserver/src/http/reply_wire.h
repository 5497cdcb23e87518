// A reply's head as it goes on the wire, and a request's line in the log. No socket here.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "http/reply.h"

namespace quotes {

// The status line's reason for a status: "OK", "Bad Request".
const char* Reason(int status);

// "HTTP/1.1 200 OK", Content-Type, Content-Length, and
// "Connection: close" when the connection ends after it.
std::string ReplyHead(const Reply& reply, bool closes);

// One line of the request log: `client:port "METHOD target VERSION" status bytes`. What the
// request said is cut to 2,048 bytes and shown as printable ASCII, so that no request can write
// control sequences to the terminal that shows the log.
std::string LogLine(std::string_view client, int port, std::string_view method,
                    std::string_view target, std::string_view version, int status,
                    std::size_t bytes);

// What `work` replies, or a 500 when it throws: the request's target and the reason go to `log`
// (printable, as in the request log), and the service goes on with its other requests.
Reply ReplyOrError(std::string_view target, const std::function<Reply()>& work,
                   const std::function<void(const std::string&)>& log);

}  // namespace quotes
