#include "advapi32/reg_hive.h"

#include <optional>

#include "host/ascii.h"
#include "platform/host/utf.h"

namespace platform::detail {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

// Reads a quoted, escaped string starting at s[i] == '"'; leaves i after the closing quote.
std::optional<std::string> ReadQuoted(std::string_view s, std::size_t& i) {
    if (i >= s.size() || s[i] != '"') return std::nullopt;
    std::string out;
    for (++i; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            ++i;
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return std::nullopt;
            out += s[++i];
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::optional<HiveLine> ParseValueLine(std::string_view line) {
    std::size_t i = 0;
    std::string name;
    if (line.size() >= 2 && line[0] == '@' && line[1] == '=') {
        i = 1;
    } else {
        auto quoted = ReadQuoted(line, i);
        if (!quoted) return std::nullopt;
        name = std::move(*quoted);
    }
    if (i >= line.size() || line[i] != '=') return std::nullopt;
    ++i;
    auto data = ReadQuoted(line, i);
    if (!data || i != line.size()) return std::nullopt;
    auto name16 = FromUtf8(name);
    auto data16 = FromUtf8(*data);
    if (!name16 || !data16) return std::nullopt;
    HiveLine value;
    value.isValue = true;
    value.name = std::move(*name16);
    value.data = std::move(*data16);
    return value;
}

std::string Quote(std::u16string_view text) {
    std::string out = "\"";
    for (char c : ToUtf8(text)) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

bool SameName(std::u16string_view a, std::u16string_view b) {
    return EqualsIgnoringAsciiCase(a, b);
}

std::u16string NormalizeKeyPath(std::u16string_view path) {
    std::u16string out;
    for (char16_t c : path) {
        if (c == u'\\' && (out.empty() || out.back() == u'\\')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == u'\\') out.pop_back();
    return out;
}

Hive ParseHive(std::string_view text) {
    Hive hive;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line == kHeader) continue;
        if (line.front() == '[' && line.back() == ']' && line.size() > 2 && line[1] != '-') {
            if (auto path = FromUtf8(line.substr(1, line.size() - 2))) {
                hive.keys.push_back({NormalizeKeyPath(*path), {}});
                continue;
            }
        }
        std::optional<HiveLine> value = hive.keys.empty() ? std::nullopt : ParseValueLine(line);
        HiveLine parsed = value ? std::move(*value) : HiveLine{false, {}, {}, std::string(line)};
        if (hive.keys.empty())
            hive.preamble.push_back(std::move(parsed.raw));
        else
            hive.keys.back().lines.push_back(std::move(parsed));
    }
    return hive;
}

std::string SerializeHive(const Hive& hive) {
    std::string out = std::string(kHeader) + "\n\n";
    for (const std::string& line : hive.preamble) out += line + "\n";
    for (const HiveKey& key : hive.keys) {
        out += "[" + ToUtf8(key.path) + "]\n";
        for (const HiveLine& line : key.lines) {
            if (!line.isValue)
                out += line.raw + "\n";
            else
                out += (line.name.empty() ? std::string("@") : Quote(line.name)) + "=" +
                       Quote(line.data) + "\n";
        }
        out += "\n";
    }
    return out;
}

HiveKey* FindKey(Hive& hive, std::u16string_view path) {
    for (HiveKey& key : hive.keys) {
        if (SameName(key.path, path)) return &key;
    }
    return nullptr;
}

bool KeyExists(const Hive& hive, std::u16string_view path) {
    for (const HiveKey& key : hive.keys) {
        if (SameName(key.path, path)) return true;
        if (key.path.size() > path.size() && key.path[path.size()] == u'\\' &&
            SameName(std::u16string_view(key.path).substr(0, path.size()), path)) {
            return true;
        }
    }
    return false;
}

const HiveLine* FindValue(const HiveKey& key, std::u16string_view name) {
    const HiveLine* found = nullptr;
    for (const HiveLine& line : key.lines) {
        if (line.isValue && SameName(line.name, name)) found = &line;
    }
    return found;
}

void SetValue(HiveKey& key, std::u16string_view name, std::u16string_view data) {
    bool placed = false;
    std::vector<HiveLine> kept;
    for (HiveLine& line : key.lines) {
        if (line.isValue && SameName(line.name, name)) {
            if (placed) continue;
            line.data = std::u16string(data);
            placed = true;
        }
        kept.push_back(std::move(line));
    }
    if (!placed) kept.push_back({true, std::u16string(name), std::u16string(data), {}});
    key.lines = std::move(kept);
}

}  // namespace platform::detail
