// ASCII case, the way the handheld compares names: class names, registry key and value names,
// mnemonics and menu-bar letters. Other characters compare as they are.
#pragma once

#include <string>
#include <string_view>

namespace platform::detail {

template <typename C>
constexpr C AsciiLower(C c) {
    return (c >= C('A') && c <= C('Z')) ? static_cast<C>(c + 32) : c;
}

template <typename C>
constexpr C AsciiUpper(C c) {
    return (c >= C('a') && c <= C('z')) ? static_cast<C>(c - 32) : c;
}

template <typename C>
bool EqualsIgnoringAsciiCase(std::basic_string_view<C> a, std::basic_string_view<C> b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

inline bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return EqualsIgnoringAsciiCase<char16_t>(a, b);
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase<char>(a, b);
}

template <typename C>
std::basic_string<C> AsciiLowered(std::basic_string_view<C> s) {
    std::basic_string<C> out(s);
    for (C& c : out) c = AsciiLower(c);
    return out;
}

inline std::string AsciiLowered(std::string_view s) {
    return AsciiLowered<char>(s);
}

}  // namespace platform::detail
