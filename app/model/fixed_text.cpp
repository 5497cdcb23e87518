#include "model/fixed_text.h"

void CopyTextN(char16_t* field, std::size_t width, const char16_t* source, std::size_t length) {
    if (width == 0) return;
    std::size_t n = 0;
    if (source) {
        while (n + 1 < width && n < length && source[n] != 0) {
            field[n] = source[n];
            ++n;
        }
    }
    field[n] = 0;
}

void CopyText(char16_t* field, std::size_t width, const char16_t* source) {
    CopyTextN(field, width, source, static_cast<std::size_t>(-1));
}

void AppendText(char16_t* field, std::size_t width, const char16_t* source) {
    std::size_t used = 0;
    while (used < width && field[used] != 0) ++used;
    if (used >= width) return;  // not a closed text: leave it alone
    CopyText(field + used, width - used, source);
}

void CopyUnsigned(char16_t* field, std::size_t width, unsigned value) {
    char16_t digits[16];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    char16_t text[16];
    for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
    text[n] = 0;
    CopyText(field, width, text);
}

std::size_t TextLength(const char16_t* text) {
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

int CompareText(const char16_t* a, const char16_t* b) {
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

bool TextEquals(const char16_t* a, const char16_t* b) {
    return CompareText(a, b) == 0;
}

const char16_t* FindChar(const char16_t* text, char16_t c) {
    for (; *text != 0; ++text) {
        if (*text == c) return text;
    }
    return nullptr;
}
