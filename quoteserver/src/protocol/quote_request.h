// Reading a quote request: the target (origin or absolute form), its query keys, the symbol
// list and the tags.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quotes {

inline constexpr std::size_t kMaxSymbols = 200;

// The path and query of a request target; an absolute-form target ("http://host/path?q")
// loses its scheme and host. Nothing for a target that is neither form.
std::optional<std::string> OriginForm(std::string_view target);

// Splits "path?query" at the first "?".
std::string_view PathPart(std::string_view originForm);
std::string_view QueryPart(std::string_view originForm);

// The raw (still encoded) value of the first occurrence of `key` in a query, if present.
std::optional<std::string_view> QueryValue(std::string_view query, std::string_view key);

// Percent-decoding; "+" stays "+". A malformed escape stays as it is.
std::string PercentDecode(std::string_view text);

// The symbols of an `s` value: decoded, the surrounding double quotes dropped, split at "," and
// "+", empty entries left out, at most kMaxSymbols.
std::vector<std::string> ParseSymbolList(std::string_view rawValue);

// The tags of an `f` value: a letter with an optional digit each; other characters are
// skipped.
std::vector<std::string> ParseTags(std::string_view rawValue);

}  // namespace quotes
