#include "platform/kernel32/nls.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/host/utf.h"

namespace {

template <typename C>
std::size_t LengthOf(const C* text, int count) {
    if (count >= 0) return static_cast<std::size_t>(count);
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n + 1;  // the terminator is converted too
}

// Copies `out` into the caller's buffer as the conversion calls do.
template <typename C>
int Deliver(const std::basic_string<C>& out, C* buffer, int capacity) {
    if (capacity == 0) return static_cast<int>(out.size());
    if (!buffer || capacity < 0 || out.size() > static_cast<std::size_t>(capacity)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(out.begin(), out.end(), buffer);
    return static_cast<int>(out.size());
}

}  // namespace

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR wide, int wideCount, char* bytes,
                        int byteCapacity, const char*, BOOL* usedDefaultChar) {
    if (usedDefaultChar) *usedDefaultChar = FALSE;
    if (codePage != CP_UTF8 || !wide || wideCount == 0 || wideCount < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string_view text(wide, LengthOf(wide, wideCount));
    return Deliver(platform::ToUtf8(text), bytes, byteCapacity);
}

int MultiByteToWideChar(UINT codePage, DWORD, const char* bytes, int byteCount, LPWSTR wide,
                        int wideCapacity) {
    if (codePage != CP_UTF8 || !bytes || byteCount == 0 || byteCount < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string_view text(bytes, LengthOf(bytes, byteCount));
    return Deliver(platform::FromUtf8Lossy(text), wide, wideCapacity);
}
