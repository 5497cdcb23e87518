// The registry hive as text: the format of .reg exports (UTF-8, CR LF line ends, "[key]" lines,
// "Name"="value" lines with \\ and \" escapes; a value holding a control character or a unit
// that is no character, such as a lone surrogate, as "Name"=hex(1): and its UTF-16LE bytes).
// Lines this device does not understand (other value types, comments, malformed lines) are
// kept as they are, and a key's line as it was written, so rewriting the hive loses nothing.
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
    std::u16string path;  // full path, "HKEY_LOCAL_MACHINE\Software\...", normalised
    std::vector<HiveLine> lines;
    std::string header;  // the key's line as read ("[...]"); empty for a key made here
};

struct Hive {
    std::vector<std::string> preamble;  // lines before the first key, header excluded
    std::vector<HiveKey> keys;
};

// A hive file's bytes as the text ParseHive reads: a UTF-16LE export (with its byte-order
// mark) becomes UTF-8. False for what is no text hive: a UTF-16 export of an odd length, or
// bytes mostly not text (more than one in ten a control character or outside any UTF-8
// sequence; a damaged line in a text hive is no reason). Such a hive is never rewritten.
bool DecodeHiveText(std::string& text);
Hive ParseHive(std::string_view text);
std::string SerializeHive(const Hive& hive);

// Whether a key path or value name can be stored: no control character, no lone surrogate.
bool StorableName(std::u16string_view name);
// Key and value names compare without regard to ASCII case.
bool SameName(std::u16string_view a, std::u16string_view b);
// Collapses repeated and outer backslashes.
std::u16string NormalizeKeyPath(std::u16string_view path);

HiveKey* FindKey(Hive& hive, std::u16string_view path);
const HiveKey* FindKey(const Hive& hive, std::u16string_view path);
// True when the key or any key below it has a section.
bool KeyExists(const Hive& hive, std::u16string_view path);
// The string value of that name (the last one when a hand edit doubled it), or null.
const HiveLine* FindValue(const HiveKey& key, std::u16string_view name);
void SetValue(HiveKey& key, std::u16string_view name, std::u16string_view data);

}  // namespace platform::detail
