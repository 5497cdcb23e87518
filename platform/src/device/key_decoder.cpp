#include "device/key_decoder.h"

#include <algorithm>

#include "host/ascii.h"

#include "platform/host/cell_grid.h"
#include "platform/user32/messages.h"

namespace platform::detail {
namespace {

constexpr char kEsc = '\x1B';
constexpr std::size_t kIncomplete = 0;
// A sequence without its final byte in this many bytes is junk: they are dropped, not
// waited on.
constexpr std::size_t kLongestSequence = 64;
// No terminal has more cells than this a side; a mouse report's point, in pixels, then still
// fits the signed 16 bits a message carries it in.
constexpr int kLargestParameter = 2048;

InputEvent Key(WORD vk) {
    InputEvent e;
    e.kind = InputEvent::Kind::key;
    e.vk = vk;
    return e;
}

InputEvent Character(char32_t c) {
    InputEvent e = Key(c == U' ' ? VK_SPACE : VK_PACKET);
    e.ch = c > 0xFFFF ? u'\uFFFD' : static_cast<char16_t>(c);
    return e;
}

// xterm's modifier parameter: 1 + (Shift 1, Alt 2, Ctrl 4).
void ApplyModifiers(InputEvent& e, int parameter) {
    const int bits = parameter > 1 ? parameter - 1 : 0;
    e.shift = (bits & 1) != 0;
    e.alt = (bits & 2) != 0;
    e.ctrl = (bits & 4) != 0;
}

// A control byte (below 0x20, or DEL) as a key; false for those that mean nothing here.
bool ControlKey(unsigned char byte, InputEvent& e) {
    switch (byte) {
        case 0x09: e = Key(VK_TAB); return true;
        case 0x0A:
        case 0x0D: e = Key(VK_RETURN); return true;
        case 0x08:
        case 0x7F: e = Key(VK_BACK); return true;
        default: break;
    }
    if (byte >= 0x01 && byte <= 0x1A) {
        e = Key(static_cast<WORD>('A' + byte - 1));
        e.ctrl = true;
        return true;
    }
    return false;
}

// The length of the UTF-8 sequence a lead byte starts (1 for an invalid lead).
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

char32_t DecodeUtf8(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (s.size() == 1) return byte(0) < 0x80 ? byte(0) : U'\uFFFD';
    char32_t c = byte(0) & (0x7F >> s.size());
    for (std::size_t i = 1; i < s.size(); ++i) {
        if ((byte(i) & 0xC0) != 0x80) return U'\uFFFD';
        c = (c << 6) | (byte(i) & 0x3F);
    }
    const char32_t least = s.size() == 2 ? 0x80 : s.size() == 3 ? 0x800 : 0x10000;
    return c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? U'\uFFFD' : c;
}

// A parameter's leading digits, held at kLargestParameter: a run of digits longer than any
// terminal sends must neither overflow nor come back as a point on the screen.
int Parameter(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), kLargestParameter);
    }
    return value;
}

std::vector<int> Parameters(std::string_view text) {
    std::vector<int> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        values.push_back(Parameter(text.substr(start, end - start)));
        start = end + 1;
    }
    return values;
}

WORD TildeKey(int code) {
    switch (code) {
        case 1:
        case 7: return VK_HOME;
        case 2: return VK_INSERT;
        case 3: return VK_DELETE;
        case 4:
        case 8: return VK_END;
        case 5: return VK_PRIOR;
        case 6: return VK_NEXT;
        default: break;
    }
    if (code >= 11 && code <= 15) return static_cast<WORD>(VK_F1 + code - 11);
    if (code >= 17 && code <= 21) return static_cast<WORD>(VK_F1 + 5 + code - 17);
    if (code == 23 || code == 24) return static_cast<WORD>(VK_F1 + 10 + code - 23);
    return 0;
}

// The key a final byte of a cursor or SS3 sequence names, or 0.
WORD FinalKey(char final) {
    switch (final) {
        case 'A': return VK_UP;
        case 'B': return VK_DOWN;
        case 'C': return VK_RIGHT;
        case 'D': return VK_LEFT;
        case 'H': return VK_HOME;
        case 'F': return VK_END;
        case 'M': return VK_RETURN;  // the keypad's Enter
        case 'P': return VK_F1;
        case 'Q': return VK_F2;
        case 'R': return VK_F3;
        case 'S': return static_cast<WORD>(VK_F1 + 3);
        default: return 0;
    }
}

// A mouse report: button code, cell column and row (0-based), press or release.
bool MouseEvent(int button, int column, int row, bool press, InputEvent& e) {
    if ((button & 32) || !press) return false;  // motion and releases mean nothing here
    e.x = column * kCellWidth + kCellWidth / 2;
    e.y = row * kCellHeight + kCellHeight / 2;
    if (button & 64) {
        e.kind = InputEvent::Kind::wheel;
        e.delta = (button & 1) ? -1 : 1;
        return true;
    }
    if ((button & 3) != 0) return false;  // only the left button taps
    e.kind = InputEvent::Kind::tap;
    return true;
}

// The event of a complete CSI sequence: its parameter bytes and its final byte.
bool CsiEvent(std::string_view parameters, char final, InputEvent& e) {
    if (!parameters.empty() && parameters[0] == '<') {
        const std::vector<int> p = Parameters(parameters.substr(1));
        return p.size() == 3 && MouseEvent(p[0], p[1] - 1, p[2] - 1, final == 'M', e);
    }
    const std::vector<int> p = Parameters(parameters);
    if (final == 't' && p.size() >= 3 && p[0] == 48) {
        e.kind = InputEvent::Kind::resize;
        return true;
    }
    if (final == 'Z') {
        e = Key(VK_TAB);
        e.shift = true;
        return true;
    }
    const WORD vk = final == '~' ? TildeKey(p[0]) : FinalKey(final);
    if (vk == 0) return false;
    e = Key(vk);
    if (p.size() >= 2) ApplyModifiers(e, p[1]);
    return true;
}

}  // namespace

void KeyDecoder::Feed(std::string_view bytes, std::vector<InputEvent>& out) {
    buffer_.append(bytes);
    while (!buffer_.empty()) {
        const std::size_t used = DecodeOne(false, out);
        if (used == kIncomplete) return;
        buffer_.erase(0, used);
    }
}

void KeyDecoder::Flush(std::vector<InputEvent>& out) {
    while (!buffer_.empty()) buffer_.erase(0, DecodeOne(true, out));
    skipping_ = false;  // quiet: the junk sequence is over
}

std::size_t KeyDecoder::SkipJunk() {
    const std::string_view b = buffer_;
    const auto end =
        std::find_if(b.begin(), b.end(), [](char c) { return c >= 0x40 && c <= 0x7E; });
    if (end == b.end()) return b.size();
    skipping_ = false;
    return static_cast<std::size_t>(end - b.begin()) + 1;
}

std::size_t KeyDecoder::DecodeOne(bool final, std::vector<InputEvent>& out) {
    if (skipping_) return SkipJunk();
    const auto byte = static_cast<unsigned char>(buffer_[0]);
    if (byte == kEsc) return DecodeEscape(final, out);
    if (byte < 0x20 || byte == 0x7F) {
        InputEvent e;
        if (ControlKey(byte, e)) out.push_back(e);
        return 1;
    }
    return DecodeCharacter(final, out);
}

std::size_t KeyDecoder::DecodeEscape(bool final, std::vector<InputEvent>& out) {
    const std::string_view b = buffer_;
    if (b.size() == 1) {
        if (!final) return kIncomplete;
        out.push_back(Key(VK_ESCAPE));
        return 1;
    }
    if (b[1] == '[' || b[1] == 'O') return DecodeSequence(final, out);
    if (b[1] == kEsc) {  // Esc twice
        out.push_back(Key(VK_ESCAPE));
        return 1;
    }
    return DecodeAltChord(final, out);
}

// CSI: parameter bytes up to a final byte; SS3: one final byte. X10 mouse: "[M" and three
// bytes.
std::size_t KeyDecoder::DecodeSequence(bool final, std::vector<InputEvent>& out) {
    const std::string_view b = buffer_;
    const bool ss3 = b[1] == 'O';
    InputEvent e;
    if (!ss3 && b.size() >= 3 && b[2] == 'M') {
        if (b.size() < 6) return final ? b.size() : kIncomplete;
        const auto at = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
        if (MouseEvent(at(3) - 32, at(4) - 33, at(5) - 33, (at(3) & 3) != 3, e)) out.push_back(e);
        return 6;
    }
    // The final byte is looked for within the longest sequence only, so that junk is cut into
    // the same pieces however the terminal's reads split it.
    std::size_t i = 2;
    const std::size_t limit = std::min(b.size(), kLongestSequence);
    while (!ss3 && i < limit && (b[i] < 0x40 || b[i] > 0x7E)) ++i;
    if (i >= limit) {
        if (b.size() < kLongestSequence) return final ? b.size() : kIncomplete;
        skipping_ = true;  // the rest of it goes too, up to its final byte
        return kLongestSequence;
    }
    if (ss3) {
        if (const WORD vk = FinalKey(b[2])) out.push_back(Key(vk));
    } else if (CsiEvent(b.substr(2, i - 2), b[i], e)) {
        out.push_back(e);
    }
    return i + 1;
}

// Esc and a key: that key with Alt.
std::size_t KeyDecoder::DecodeAltChord(bool final, std::vector<InputEvent>& out) {
    std::vector<InputEvent> chord;
    KeyDecoder inner;
    inner.buffer_ = buffer_.substr(1);
    const std::size_t used = inner.DecodeOne(final, chord);
    if (used == kIncomplete) return kIncomplete;
    for (InputEvent& c : chord) {
        if (c.kind != InputEvent::Kind::key) continue;
        // Alt with a letter or digit names that key (menu-bar letters, mnemonics).
        const char16_t upper = AsciiUpper(c.ch);
        if (c.vk == VK_PACKET &&
            ((upper >= u'A' && upper <= u'Z') || (upper >= u'0' && upper <= u'9'))) {
            c.vk = upper;
            c.ch = 0;
        }
        c.alt = true;
        out.push_back(c);
    }
    return 1 + used;
}

std::size_t KeyDecoder::DecodeCharacter(bool final, std::vector<InputEvent>& out) {
    const std::string_view b = buffer_;
    const std::size_t length = Utf8Length(static_cast<unsigned char>(b[0]));
    std::size_t taken = 1;
    while (taken < length && taken < b.size() &&
           (static_cast<unsigned char>(b[taken]) & 0xC0) == 0x80)
        ++taken;
    if (taken < length && taken == b.size() && !final) return kIncomplete;
    out.push_back(Character(taken == length ? DecodeUtf8(b.substr(0, taken)) : U'\uFFFD'));
    return taken;
}

}  // namespace platform::detail
