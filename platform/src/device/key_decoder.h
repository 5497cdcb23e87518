// The terminal's input bytes as the device's events: typed characters (UTF-8), control keys,
// Ctrl and Alt chords, the escape sequences of cursor, editing and function keys (with their
// Shift, Alt and Ctrl modifiers), mouse presses and the wheel (SGR and X10 reports), and the
// in-band resize report. A typed character is a character event (VK_PACKET, or VK_SPACE for
// the space); only keys that are keys of their own carry a virtual key. Pure: no terminal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/device.h"

namespace platform::detail {

class KeyDecoder {
public:
    // Takes the bytes the terminal sent; appends the events they complete.
    void Feed(std::string_view bytes, std::vector<InputEvent>& out);
    // True when bytes wait for the rest of a sequence (an Esc may start one), or the rest of
    // a junk sequence is being dropped.
    bool Pending() const { return !buffer_.empty() || skipping_; }
    // The terminal went quiet: what waits is taken as it stands (an Esc alone is Esc).
    void Flush(std::vector<InputEvent>& out);

private:
    // Decodes one event from the front of the buffer; the bytes it used, or 0 when the
    // buffer holds only the start of a sequence (and `final` is false).
    std::size_t DecodeOne(bool final, std::vector<InputEvent>& out);

    // The same, for what starts with Esc: Esc alone, a CSI, SS3 or mouse sequence, or an
    // Alt chord.
    std::size_t DecodeEscape(bool final, std::vector<InputEvent>& out);
    std::size_t DecodeSequence(bool final, std::vector<InputEvent>& out);
    std::size_t DecodeAltChord(bool final, std::vector<InputEvent>& out);
    // A UTF-8 character: its lead byte and the continuation bytes that follow it.
    std::size_t DecodeCharacter(bool final, std::vector<InputEvent>& out);

    // Drops the buffered bytes of a junk sequence up to and with its final byte.
    std::size_t SkipJunk();

    std::string buffer_;
    bool skipping_ = false;
};

}  // namespace platform::detail
