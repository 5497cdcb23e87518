#include "protocol/quote_request.h"

#include <algorithm>

namespace quotes {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::optional<std::string> OriginForm(std::string_view target) {
    if (!target.empty() && target.front() == '/') return std::string(target);
    for (std::string_view scheme : {"http://", "HTTP://"}) {
        if (target.substr(0, scheme.size()) == scheme) {
            const std::size_t slash = target.find('/', scheme.size());
            if (slash == std::string_view::npos) return std::string("/");
            return std::string(target.substr(slash));
        }
    }
    return std::nullopt;
}

std::string_view PathPart(std::string_view originForm) {
    return originForm.substr(0, originForm.find('?'));
}

std::string_view QueryPart(std::string_view originForm) {
    const std::size_t mark = originForm.find('?');
    return mark == std::string_view::npos ? std::string_view() : originForm.substr(mark + 1);
}

std::optional<std::string_view> QueryValue(std::string_view query, std::string_view key) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t eq = pair.find('=');
        const std::string_view name = pair.substr(0, eq);
        if (name == key) {
            return eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        // The text up to the next escape goes in whole.
        const std::size_t mark = std::min(text.find('%', i), text.size());
        out.append(text, i, mark - i);
        i = mark;
        if (i == text.size()) break;
        if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 3;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::vector<std::string> ParseSymbolList(std::string_view rawValue) {
    const std::string decoded = PercentDecode(rawValue);
    std::string_view list = decoded;
    if (!list.empty() && list.front() == '"') list.remove_prefix(1);
    if (!list.empty() && list.back() == '"') list.remove_suffix(1);
    std::vector<std::string> symbols;
    std::size_t separators = 0;
    for (char c : list) separators += (c == ',') | (c == '+');
    symbols.reserve(std::min<std::size_t>(separators + 1, kMaxSymbols));
    std::size_t start = 0;
    for (std::size_t i = 0; i <= list.size() && symbols.size() < kMaxSymbols; ++i) {
        if (i < list.size() && list[i] != ',' && list[i] != '+') continue;
        if (i > start) symbols.emplace_back(list.substr(start, i - start));
        start = i + 1;
    }
    return symbols;
}

std::vector<std::string> ParseTags(std::string_view rawValue) {
    const std::string decoded = PercentDecode(rawValue);
    std::vector<std::string> tags;
    for (std::size_t i = 0; i < decoded.size() && tags.size() < 256; ++i) {
        if (!IsLetter(decoded[i])) continue;
        std::string tag(1, decoded[i]);
        if (i + 1 < decoded.size() && decoded[i + 1] >= '0' && decoded[i + 1] <= '9') {
            tag += decoded[++i];
        }
        tags.push_back(std::move(tag));
    }
    return tags;
}

}  // namespace quotes
