#include "listview/sort_keys.h"

#include <charconv>
#include <cstddef>

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// A run of at most `most` digits at `p`, moved past; false when none is there.
bool ReadDigits(const char16_t*& p, int most, int& value) {
    value = 0;
    int n = 0;
    while (IsDigit(*p) && n < most) value = value * 10 + (*p++ - u'0'), ++n;
    return n > 0 && !IsDigit(*p);
}

// "12/7/2026": year, month and day as one number that orders as the dates do.
bool ReadDate(const char16_t* p, double& key) {
    int month = 0, day = 0, year = 0;
    if (!ReadDigits(p, 2, month) || *p++ != u'/' || !ReadDigits(p, 2, day) || *p++ != u'/' ||
        !ReadDigits(p, 4, year))
        return false;
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    key = year * 10000.0 + month * 100 + day;
    return true;
}

// "4:00pm": the minutes after midnight; 12am is midnight, 12pm noon.
bool ReadTime(const char16_t* p, double& key) {
    int hour = 0, minute = 0;
    if (!ReadDigits(p, 2, hour) || *p++ != u':' || !ReadDigits(p, 2, minute)) return false;
    if (hour < 1 || hour > 12 || minute > 59) return false;
    const char16_t half = static_cast<char16_t>(*p | 0x20);
    if ((half != u'a' && half != u'p') || (p[1] | 0x20) != u'm') return false;
    key = (hour % 12 + (half == u'p' ? 12 : 0)) * 60 + minute;
    return true;
}

// "537.69M": the number times its factor; bare digits are themselves.
bool ReadSize(const char16_t* text, double& key) {
    const char16_t* end = nullptr;
    if (!ReadLeadingNumber(text, key, &end)) return false;
    switch (*end | 0x20) {
        case u'k': key *= 1e3; break;
        case u'm': key *= 1e6; break;
        case u'b': key *= 1e9; break;
        case u't': key *= 1e12; break;
        default: break;
    }
    return true;
}

}  // namespace

bool ReadLeadingNumber(const char16_t* text, double& value, const char16_t** end) {
    std::size_t i = 0;
    while (IsSpace(text[i])) ++i;
    char number[64];
    std::size_t n = 0;
    const auto take = [&](char16_t c) {
        if (n + 1 < sizeof number) number[n++] = static_cast<char>(c);
        ++i;
    };
    if (text[i] == u'+' || text[i] == u'-') take(text[i]);
    bool digits = false;
    while (IsDigit(text[i])) take(text[i]), digits = true;
    if (text[i] == u'.') {
        take(text[i]);
        while (IsDigit(text[i])) take(text[i]), digits = true;
    }
    value = 0;
    if (!digits) return false;
    // An exponent counts only when digits follow it.
    if (text[i] == u'e' || text[i] == u'E') {
        std::size_t d = i + 1;
        if (text[d] == u'+' || text[d] == u'-') ++d;
        if (IsDigit(text[d])) {
            while (i < d) take(text[i]);
            while (IsDigit(text[i])) take(text[i]);
        }
    }
    if (end) *end = text + i;
    const char* begin = number[0] == '+' ? number + 1 : number;
    std::from_chars(begin, number + n, value);  // out of range: 0
    return true;
}

bool ReadSortKey(SortKeyKind kind, const char16_t* text, double& key) {
    key = 0;
    switch (kind) {
        case SortKeyKind::number: return ReadLeadingNumber(text, key);
        case SortKeyKind::date: return ReadDate(text, key);
        case SortKeyKind::time: return ReadTime(text, key);
        case SortKeyKind::size: return ReadSize(text, key);
    }
    return false;
}
