// Conversions between the device's UTF-16 text and the host's UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Lone surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Invalid UTF-8 gives nothing.
std::optional<std::u16string> FromUtf8(std::string_view text);
// Invalid sequences become U+FFFD.
std::u16string FromUtf8Lossy(std::string_view text);

}  // namespace platform
