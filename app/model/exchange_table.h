// The 50 exchanges the viewer follows, in their fixed order. Each ties a display name, the
// symbol suffix the quote service expects after a dot, and the one-character code a row
// stores. Position 0, "USA Major", is the default exchange: its suffix is never sent.
#pragma once

#include <cstddef>

inline constexpr int kExchangeCount = 50;
inline constexpr std::size_t kExchangeNameWidth = 20;
inline constexpr std::size_t kExchangeSuffixWidth = 4;
// "." and a suffix, with the terminator.
inline constexpr std::size_t kRequestSuffixWidth = kExchangeSuffixWidth + 1;

struct ExchangeEntry {
    char16_t name[kExchangeNameWidth];
    char16_t suffix[kExchangeSuffixWidth];
    char16_t code;
};

extern const ExchangeEntry ExchangeTable[kExchangeCount];

// The entry whose code equals the whole text `code`, or null. "C" finds nothing.
const ExchangeEntry* FindExchangeByCode(const char16_t* code);
// The entry whose suffix equals the whole text `suffix`, or null.
const ExchangeEntry* FindExchangeBySuffix(const char16_t* suffix);
// The suffix shown for a stored code: the entry's suffix, "TO" whenever the text holds a "C"
// (older files wrote Toronto as "C"), else the empty text.
const char16_t* SuffixForCode(const char16_t* code);
// The code of the entry with that suffix, or 0 when none has it.
char16_t CodeForSuffix(const char16_t* suffix);
// "." and the suffix to send for a stored code; empty for "USA Major" and unknown codes.
void RequestSuffixForCode(const char16_t* code, char16_t (&out)[kRequestSuffixWidth]);
