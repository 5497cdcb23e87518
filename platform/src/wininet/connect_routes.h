// TICKWELL_CONNECT_TO: "host:port:address:port" entries separated by commas (curl's
// CONNECT_TO syntax). An empty host or port matches any; an empty address or port keeps the
// asked one; an IPv6 address is written in brackets. The first entry that matches routes.
#pragma once

#include <string>
#include <string_view>

namespace platform::detail {

struct Endpoint {
    std::string host;
    int port = 0;
    bool operator==(const Endpoint&) const = default;
};

// Where a connection to `asked` goes under `routes`; `asked` itself when no entry matches.
Endpoint RouteFor(std::string_view routes, const Endpoint& asked);

}  // namespace platform::detail
