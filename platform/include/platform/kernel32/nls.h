// Conversions between the device's UTF-16 text and byte text in a code page. Only UTF-8
// (CP_UTF8) is there; a unit that is not valid UTF-16 (a lone surrogate) becomes U+FFFD.
#pragma once

#include "platform/win_types.h"

inline constexpr UINT CP_UTF8 = 65001;

// Converts `wideCount` units of `wide` (-1: up to and with its terminator) into at most
// `byteCapacity` bytes of `bytes`; returns the bytes written, or with a capacity of 0 the
// bytes needed. 0 on failure (ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER).
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, char* bytes,
                        int byteCapacity, const char* defaultChar, BOOL* usedDefaultChar);
// The other way; an invalid byte sequence becomes U+FFFD.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* bytes, int byteCount, LPWSTR wide,
                        int wideCapacity);
