#include "advapi32/reg_hive.h"

#include <optional>
#include <utility>

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

bool IsLoneSurrogateAt(std::u16string_view s, std::size_t i) {
    const char16_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF)
        return i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF;
    if (c >= 0xDC00 && c <= 0xDFFF) return i == 0 || s[i - 1] < 0xD800 || s[i - 1] > 0xDBFF;
    return false;
}

// Data that a quoted string cannot carry: a line break would split the line, and a lone
// surrogate has no UTF-8.
bool NeedsHex(std::u16string_view data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] < 0x20 || IsLoneSurrogateAt(data, i)) return true;
    }
    return false;
}

constexpr std::string_view kHexPrefix = "hex(1):";

std::string HexData(std::u16string_view data) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(kHexPrefix);
    const auto put = [&](unsigned byte) {
        if (out.size() > kHexPrefix.size()) out += ',';
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xF];
    };
    for (char16_t c : data) {
        put(c & 0xFF);
        put(c >> 8);
    }
    put(0);  // the terminator, as exports write it
    put(0);
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "hex(1):41,00,..." as UTF-16 text, its terminator dropped; nothing when malformed.
std::optional<std::u16string> ParseHexData(std::string_view text) {
    if (text.substr(0, kHexPrefix.size()) != kHexPrefix) return std::nullopt;
    text.remove_prefix(kHexPrefix.size());
    std::string bytes;
    while (!text.empty()) {
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        if (text.size() < 2) return std::nullopt;
        const int high = HexDigit(text[0]), low = HexDigit(text[1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        text.remove_prefix(2);
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        if (!text.empty() && text.front() != ',') return std::nullopt;
        if (!text.empty()) text.remove_prefix(1);
    }
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::u16string data;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        data += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    if (!data.empty() && data.back() == 0) data.pop_back();
    if (data.find(u'\0') != std::u16string::npos) return std::nullopt;
    return data;
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
    auto name16 = FromUtf8(name);
    std::optional<std::u16string> data16;
    if (line.substr(i, kHexPrefix.size()) == kHexPrefix) {
        data16 = ParseHexData(line.substr(i));
    } else {
        auto data = ReadQuoted(line, i);
        if (!data || i != line.size()) return std::nullopt;
        data16 = FromUtf8(*data);
    }
    // A string ends at its first NUL: data holding one is no string value (its line is kept).
    if (!name16 || !data16 || data16->find(u'\0') != std::u16string::npos) return std::nullopt;
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

bool StorableName(std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] < 0x20 || IsLoneSurrogateAt(name, i)) return false;
    }
    return true;
}

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

namespace {

// A key's section, made when the hive has none of that path yet: a key a hand edit wrote twice
// is one key, its values all readable, as an import of the file would make it.
std::size_t SectionFor(Hive& hive, std::u16string path, std::string_view header) {
    for (std::size_t i = 0; i < hive.keys.size(); ++i) {
        if (SameName(hive.keys[i].path, path)) return i;
    }
    hive.keys.push_back({std::move(path), {}, std::string(header)});
    return hive.keys.size() - 1;
}

}  // namespace

Hive ParseHive(std::string_view text) {
    Hive hive;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::size_t current = 0;
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
                // The line is kept as written: "[\\]" or "[\\-x]" must not come back as "[]"
                // or as a line that deletes a key.
                current = SectionFor(hive, NormalizeKeyPath(*path), line);
                continue;
            }
        }
        std::optional<HiveLine> value = hive.keys.empty() ? std::nullopt : ParseValueLine(line);
        HiveLine parsed = value ? std::move(*value) : HiveLine{false, {}, {}, std::string(line)};
        if (hive.keys.empty())
            hive.preamble.push_back(std::move(parsed.raw));
        else
            hive.keys[current].lines.push_back(std::move(parsed));
    }
    return hive;
}

std::string SerializeHive(const Hive& hive) {
    // CR LF, as exports have it: a kept line that ends in a CR of its own comes back whole.
    constexpr std::string_view kEnd = "\r\n";
    std::string out = std::string(kHeader) + std::string(kEnd) + std::string(kEnd);
    for (const std::string& line : hive.preamble) out += line + std::string(kEnd);
    for (const HiveKey& key : hive.keys) {
        out += (key.header.empty() ? "[" + ToUtf8(key.path) + "]" : key.header) + std::string(kEnd);
        for (const HiveLine& line : key.lines) {
            if (!line.isValue) {
                out += line.raw;
            } else {
                out += line.name.empty() ? std::string("@") : Quote(line.name);
                out += "=" + (NeedsHex(line.data) ? HexData(line.data) : Quote(line.data));
            }
            out += kEnd;
        }
        out += kEnd;
    }
    return out;
}

namespace {

std::size_t BinaryBytes(std::string_view text) {
    std::size_t bad = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            bad += (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
            ++i;
            continue;
        }
        const std::size_t length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        std::size_t n = 1;
        while (length && n < length && i + n < text.size() &&
               (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        if (length && n == length) {
            i += n;
        } else {
            ++bad;
            ++i;
        }
    }
    return bad;
}

}  // namespace

bool DecodeHiveText(std::string& text) {
    if (text.rfind("\xFF\xFE", 0) == 0) {
        if (text.size() % 2 != 0) return false;
        std::u16string units;
        for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
            units += static_cast<char16_t>(static_cast<unsigned char>(text[i]) |
                                           (static_cast<unsigned char>(text[i + 1]) << 8));
        }
        text = platform::ToUtf8(units);
    }
    return BinaryBytes(text) * 10 <= text.size();
}

const HiveKey* FindKey(const Hive& hive, std::u16string_view path) {
    for (const HiveKey& key : hive.keys) {
        if (SameName(key.path, path)) return &key;
    }
    return nullptr;
}

HiveKey* FindKey(Hive& hive, std::u16string_view path) {
    return const_cast<HiveKey*>(FindKey(std::as_const(hive), path));
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
