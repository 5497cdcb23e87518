// The registry hive as text: the format of .reg exports (UTF-8, "[key]" lines, "Name"="value"
// lines with \\ and \" escapes). Lines this device does not understand (other value types,
// comments, malformed lines) are kept as they are, so rewriting the hive loses nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

struct HiveLine {
    bool isValue = false;
    std::u16string name;  // a string value: its name ("" for the default value "@")
    std::u16string data;
    std::string raw;  // anything else: the line as read
};

struct HiveKey {
    std::u16string path;  // full path, "HKEY_LOCAL_MACHINE\Software\..."
    std::vector<HiveLine> lines;
};

struct Hive {
    std::vector<std::string> preamble;  // lines before the first key, header excluded
    std::vector<HiveKey> keys;
};

Hive ParseHive(std::string_view text);
std::string SerializeHive(const Hive& hive);

// Key and value names compare without regard to ASCII case.
bool SameName(std::u16string_view a, std::u16string_view b);
// Collapses repeated and outer backslashes.
std::u16string NormalizeKeyPath(std::u16string_view path);

HiveKey* FindKey(Hive& hive, std::u16string_view path);
// True when the key or any key below it has a section.
bool KeyExists(const Hive& hive, std::u16string_view path);
// The string value of that name (the last one when a hand edit doubled it), or null.
const HiveLine* FindValue(const HiveKey& key, std::u16string_view name);
void SetValue(HiveKey& key, std::u16string_view name, std::u16string_view data);

}  // namespace platform::detail
