// Fixed-width UTF-16 text. A field of width W (units, terminator included) holds at most
// W - 1 characters; every write goes through these helpers, which cut longer text and never
// write past the field. Comparisons are exact and case-sensitive.
#pragma once

#include <cstddef>

// Copies at most `length` units of `source` (fewer when a zero comes first) into `field` of
// `width` units, cut to width - 1, and closes it with a zero.
void CopyTextN(char16_t* field, std::size_t width, const char16_t* source, std::size_t length);
// Copies the zero-terminated `source` into `field`, cut to width - 1.
void CopyText(char16_t* field, std::size_t width, const char16_t* source);
// Appends `source` to the text in `field`, cut to width - 1.
void AppendText(char16_t* field, std::size_t width, const char16_t* source);

std::size_t TextLength(const char16_t* text);
bool TextEquals(const char16_t* a, const char16_t* b);
// Code unit by code unit, like wcscmp: negative, zero or positive.
int CompareText(const char16_t* a, const char16_t* b);
// The first occurrence of `c` in `text`, or null.
const char16_t* FindChar(const char16_t* text, char16_t c);

// Writes `value` as unsigned decimal text without leading zeros ("%u"), cut to width - 1.
void CopyUnsigned(char16_t* field, std::size_t width, unsigned value);

template <std::size_t W>
void SetUnsigned(char16_t (&field)[W], unsigned value) {
    CopyUnsigned(field, W, value);
}

template <std::size_t W>
void SetText(char16_t (&field)[W], const char16_t* source) {
    CopyText(field, W, source);
}

template <std::size_t W>
void SetTextN(char16_t (&field)[W], const char16_t* source, std::size_t length) {
    CopyTextN(field, W, source, length);
}

template <std::size_t W>
void AddText(char16_t (&field)[W], const char16_t* source) {
    AppendText(field, W, source);
}

template <std::size_t W>
void ClearText(char16_t (&field)[W]) {
    field[0] = 0;
}

inline bool IsEmptyText(const char16_t* text) {
    return text[0] == 0;
}
