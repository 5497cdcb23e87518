#include "model/holdings_file.h"

#include <cstring>

#include "model/fixed_text.h"
#include "model/holdings.h"
#include "platform/kernel32/files.h"
#include "platform/kernel32/memory.h"
#include "platform/kernel32/nls.h"
#include "platform/user32/message_box.h"

namespace {

constexpr std::size_t kFieldCount = 4;
constexpr std::size_t kFieldBytes = 64;  // far more than any valid field takes
// A written field: every byte of the longest field's UTF-8 a doubled quote, in quotes.
static_assert(kFieldCount * (2 * 3 * kHoldingNumberWidth + 3) < kHoldingLineCapacity);
static_assert(kKeptLineWidth < kHoldingLineCapacity);

bool fileUnread = false;

struct LineFields {
    char text[kFieldCount][kFieldBytes];
    std::size_t length[kFieldCount];
};

// Splits one line (its end already cut off) into exactly four fields; a field may be in
// double quotes, with "" for a quote inside. False for any other shape.
bool SplitLine(const char* line, std::size_t size, LineFields& out) {
    std::size_t field = 0;
    std::size_t i = 0;
    for (;;) {
        std::size_t n = 0;
        const bool quoted = i < size && line[i] == '"';
        if (quoted) ++i;
        while (i < size) {
            if (quoted && line[i] == '"') {
                if (i + 1 < size && line[i + 1] == '"') {
                    ++i;
                } else {
                    ++i;
                    break;
                }
            } else if (!quoted && line[i] == ',') {
                break;
            }
            if (n + 1 >= kFieldBytes) return false;
            out.text[field][n++] = line[i++];
        }
        out.text[field][n] = 0;
        out.length[field] = n;
        if (i < size && line[i] != ',') return false;  // text after a closing quote
        if (++field == kFieldCount) return i == size;
        if (i >= size) return false;
        ++i;  // the comma
    }
}

// UTF-8 to the field's UTF-16, only when the bytes are exactly what the text writes back and
// hold no control character (a NUL would cut the text short).
template <std::size_t W>
bool ReadText(const char* bytes, std::size_t length, char16_t (&out)[W]) {
    if (length == 0 || length >= kFieldBytes) return false;
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    char16_t wide[kFieldBytes] = {};
    const int units =
        MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(length), wide, kFieldBytes - 1);
    if (units <= 0 || static_cast<std::size_t>(units) >= W) return false;
    char back[kFieldBytes * 3] = {};
    const int again =
        WideCharToMultiByte(CP_UTF8, 0, wide, units, back, sizeof back, nullptr, nullptr);
    if (again != static_cast<int>(length) || std::memcmp(back, bytes, length) != 0) return false;
    SetText(out, wide);
    return true;
}

bool ReadHolding(const char* line, std::size_t size, Holding& h) {
    LineFields f;
    if (!SplitLine(line, size, f)) return false;
    h = Holding{};
    if (!ReadText(f.text[0], f.length[0], h.symbol)) return false;
    if (!ReadText(f.text[1], f.length[1], h.exchangeCode)) return false;
    if (!ReadText(f.text[2], f.length[2], h.shares) || !IsValidShares(h.shares)) return false;
    if (f.length[3] > 0 && !ReadText(f.text[3], f.length[3], h.pricePaid)) return false;
    return IsValidPricePaid(h.pricePaid) && !FindHolding(h.symbol, h.exchangeCode);
}

// One line of the file into the next entry of the table; false when it cannot be kept.
bool AddLine(const char* line, std::size_t size) {
    if (size == 0) return true;
    if (holdingCount >= kHoldingCapacity) return false;
    const std::size_t parsed = line[size - 1] == '\r' ? size - 1 : size;
    Holding h;
    if (!ReadHolding(line, parsed, h)) {
        // Not a holding: kept byte for byte, line end aside.
        if (size >= kKeptLineWidth) return false;
        h = Holding{};
        h.kept = true;
        h.keptLength = size;
        std::memcpy(h.keptLine, line, size);
    }
    Holdings[holdingCount++] = h;
    return true;
}

bool WriteBytes(HANDLE file, const char* bytes, std::size_t count) {
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
}

// A field as the file writes it: in double quotes when it holds a comma or a quote.
void AppendField(char* line, std::size_t& n, const char16_t* text) {
    char bytes[kFieldBytes * 3] = {};
    const int count = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(TextLength(text)),
                                          bytes, sizeof bytes, nullptr, nullptr);
    const bool quote = std::memchr(bytes, ',', count) || std::memchr(bytes, '"', count);
    if (quote) line[n++] = '"';
    for (int i = 0; i < count; ++i) {
        if (bytes[i] == '"') line[n++] = '"';
        line[n++] = bytes[i];
    }
    if (quote) line[n++] = '"';
}

HoldingsLoad Unreadable() {
    ClearHoldings();
    fileUnread = true;
    MessageBoxW(nullptr,
                u"Could not read the holdings file; holdings are not shown and the file is "
                u"left as it is",
                u"Error", MB_OK);
    return HoldingsLoad::unreadable;
}

}  // namespace

std::size_t FormatHoldingLine(const Holding& h, char (&out)[kHoldingLineCapacity]) {
    std::size_t n = 0;
    if (h.kept) {
        // Kept lines are shorter than kKeptLineWidth: they fit.
        std::memcpy(out, h.keptLine, h.keptLength);
        n = h.keptLength;
    } else {
        const char16_t* fields[kFieldCount] = {h.symbol, h.exchangeCode, h.shares, h.pricePaid};
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            if (i > 0) out[n++] = ',';
            AppendField(out, n, fields[i]);
        }
    }
    out[n++] = '\n';
    return n;
}

bool ParseHoldings(const char* bytes, std::size_t count) {
    ClearHoldings();
    std::size_t pos = 0;
    if (count >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) pos = 3;
    bool first = true;
    while (pos < count) {
        const char* end = static_cast<const char*>(std::memchr(bytes + pos, '\n', count - pos));
        const std::size_t size = (end ? static_cast<std::size_t>(end - bytes) : count) - pos;
        std::size_t parsed = size;
        if (parsed > 0 && bytes[pos + parsed - 1] == '\r') --parsed;
        const bool header = first && parsed == std::strlen(HoldingsFile::kHeader) &&
                            std::memcmp(bytes + pos, HoldingsFile::kHeader, parsed) == 0;
        if (!header && !AddLine(bytes + pos, size)) {
            ClearHoldings();
            return false;
        }
        first = false;
        pos += size + 1;
    }
    return true;
}

HoldingsLoad LoadHoldingsFile() {
    ClearHoldings();
    fileUnread = false;
    const HANDLE file = CreateFileW(HoldingsFile::kPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const bool missing = GetLastError() == static_cast<DWORD>(ERROR_FILE_NOT_FOUND);
        return missing ? HoldingsLoad::none : Unreadable();
    }
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size > HoldingsFile::kReadLimit) {
        CloseHandle(file);
        return Unreadable();
    }
    void* block = LocalAlloc(LPTR, size + 1);
    DWORD read = 0;
    const bool whole = block && ReadFile(file, block, size, &read, nullptr) && read == size;
    CloseHandle(file);
    const bool parsed = whole && ParseHoldings(static_cast<const char*>(block), read);
    if (block) LocalFree(static_cast<HLOCAL>(block));
    return parsed ? HoldingsLoad::read : Unreadable();
}

bool HoldingsFileUnread() {
    return fileUnread;
}

bool SaveHoldingsFile() {
    if (fileUnread) return false;
    const HANDLE file = CreateFileW(HoldingsFile::kPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteBytes(file, HoldingsFile::kHeader, std::strlen(HoldingsFile::kHeader)) &&
              WriteBytes(file, "\n", 1);
    for (int i = 0; ok && i < holdingCount; ++i) {
        char line[kHoldingLineCapacity];
        ok = WriteBytes(file, line, FormatHoldingLine(Holdings[i], line));
    }
    // A handle whose writes did not all succeed is discarded at close: the old file stays.
    ok = ok && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}
