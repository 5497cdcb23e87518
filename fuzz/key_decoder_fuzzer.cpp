// The terminal key decoder on any bytes. The first byte says how the rest arrives: in reads of
// 1 to 8 bytes in turn (a terminal's bytes come as they come) against all at once. The events
// must be the same both ways, never more than one an input byte (a character beyond the BMP
// is two units), a character event always carries its character, and a tap's or a wheel's
// point fits the signed 16 bits a message carries it in.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "device/key_decoder.h"
#include "fuzz_check.h"
#include "platform/user32/messages.h"

namespace {

using platform::detail::InputEvent;

bool Same(const InputEvent& a, const InputEvent& b) {
    return a.kind == b.kind && a.vk == b.vk && a.ch == b.ch && a.shift == b.shift &&
           a.ctrl == b.ctrl && a.alt == b.alt && a.x == b.x && a.y == b.y && a.delta == b.delta;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t pattern = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    std::vector<InputEvent> whole;
    platform::detail::KeyDecoder once;
    once.Feed(bytes, whole);
    once.Flush(whole);
    FUZZ_CHECK(!once.Pending());

    std::vector<InputEvent> pieces;
    platform::detail::KeyDecoder inReads;
    std::size_t at = 0;
    for (int read = 0; at < bytes.size(); ++read) {
        const std::size_t length = 1 + ((pattern >> (read % 8)) & 7);
        inReads.Feed(bytes.substr(at, length), pieces);
        at += length;
    }
    inReads.Flush(pieces);

    FUZZ_CHECK(whole.size() == pieces.size());
    for (std::size_t i = 0; i < whole.size(); ++i) FUZZ_CHECK(Same(whole[i], pieces[i]));
    FUZZ_CHECK(whole.size() <= bytes.size());
    for (const InputEvent& e : whole) {
        FUZZ_CHECK(e.kind != InputEvent::Kind::none);
        if (e.kind == InputEvent::Kind::key && e.vk == VK_PACKET) FUZZ_CHECK(e.ch != 0);
        if (e.kind == InputEvent::Kind::tap || e.kind == InputEvent::Kind::wheel) {
            FUZZ_CHECK(e.x >= -32768 && e.x <= 32767 && e.y >= -32768 && e.y <= 32767);
        }
    }
    return 0;
}
