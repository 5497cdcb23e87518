// One reply of the service, before its wire form (reply_wire.h) and the fault modes.
#pragma once

#include <string>

namespace quotes {

struct Reply {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
    bool isQuotes = false;  // a quote reply (the fault modes apply to these)
};

}  // namespace quotes
