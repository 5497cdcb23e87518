#include "common/url_encode.h"

namespace quotes {

std::string UrlEncode(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    // A text of dots alone, as a path segment, would be removed with the segment before it
    // ("/chart/.." is "/"): its dots are encoded too.
    const bool dotsOnly = !text.empty() && text.find_first_not_of('.') == std::string::npos;
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || (c == '.' && !dotsOnly) ||
                           c == '_' || c == '~';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

}  // namespace quotes
