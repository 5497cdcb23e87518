#include "wininet/connect_routes.h"

#include <array>
#include <charconv>

#include "host/ascii.h"

namespace platform::detail {
namespace {

using Fields = std::array<std::string_view, 4>;

// Splits an entry at its colons, a bracketed field kept whole; false unless it has four.
bool SplitEntry(std::string_view entry, Fields& fields) {
    std::size_t count = 0;
    while (count < fields.size()) {
        std::size_t end = 0;
        if (!entry.empty() && entry.front() == '[') {
            end = entry.find(']');
            if (end == std::string_view::npos) return false;
            ++end;
        } else {
            end = entry.find(':');
            if (end == std::string_view::npos) end = entry.size();
        }
        fields[count++] = entry.substr(0, end);
        if (end == entry.size()) break;
        if (entry[end] != ':') return false;
        entry.remove_prefix(end + 1);
        if (count == fields.size()) return false;  // a fifth field
    }
    return count == fields.size();
}

std::string_view Unbracketed(std::string_view host) {
    if (host.size() >= 2 && host.front() == '[') return host.substr(1, host.size() - 2);
    return host;
}

bool PortOf(std::string_view text, int& port) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    return error == std::errc() && end == text.data() + text.size() && port > 0 && port < 65536;
}

bool Matches(const Fields& fields, const Endpoint& asked) {
    int port = 0;
    const bool hostMatches =
        fields[0].empty() || EqualsIgnoringAsciiCase(Unbracketed(fields[0]), asked.host);
    const bool portMatches = fields[1].empty() || (PortOf(fields[1], port) && port == asked.port);
    return hostMatches && portMatches;
}

}  // namespace

Endpoint RouteFor(std::string_view routes, const Endpoint& asked) {
    while (!routes.empty()) {
        const std::size_t comma = routes.find(',');
        const std::string_view entry = routes.substr(0, comma);
        routes.remove_prefix(comma == std::string_view::npos ? routes.size() : comma + 1);
        Fields fields;
        int port = asked.port;
        if (!SplitEntry(entry, fields) || !Matches(fields, asked)) continue;
        if (!fields[3].empty() && !PortOf(fields[3], port)) continue;
        const std::string_view host = Unbracketed(fields[2]);
        return Endpoint{host.empty() ? asked.host : std::string(host), port};
    }
    return asked;
}

}  // namespace platform::detail
