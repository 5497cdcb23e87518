// The terminal's bytes as the device's events.
#include "device/key_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/host/cell_grid.h"
#include "platform/user32/messages.h"

namespace {

using platform::detail::InputEvent;
using platform::detail::KeyDecoder;
using Kind = InputEvent::Kind;

struct Expected {
    WORD vk;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    char16_t ch = 0;
};

std::vector<InputEvent> Decode(const std::string& bytes) {
    KeyDecoder decoder;
    std::vector<InputEvent> events;
    decoder.Feed(bytes, events);
    decoder.Flush(events);
    return events;
}

void ExpectKey(const std::string& bytes, const Expected& want) {
    SCOPED_TRACE("bytes: " + bytes.substr(bytes[0] == '\x1B' ? 1 : 0));
    const auto events = Decode(bytes);
    ASSERT_EQ(events.size(), 1u);
    const InputEvent& e = events[0];
    EXPECT_EQ(e.kind, Kind::key);
    EXPECT_EQ(e.vk, want.vk);
    EXPECT_EQ(e.shift, want.shift);
    EXPECT_EQ(e.ctrl, want.ctrl);
    EXPECT_EQ(e.alt, want.alt);
    EXPECT_EQ(e.ch, want.ch);
}

TEST(KeyDecoder, TheKeysOfTheReadme) {
    ExpectKey("\x1BOP", {VK_F1});
    ExpectKey("\x1BOQ", {VK_F2});
    ExpectKey("\x1BOR", {VK_F3});
    ExpectKey("\x1B[11~", {VK_F1});
    ExpectKey("\x1B[13~", {VK_F3});
    ExpectKey("\x1B[24~", {VK_F12});
    ExpectKey("\x1Bt", {'T', false, false, true});
    ExpectKey("\x1Bh", {'H', false, false, true});
    ExpectKey("\x11", {'Q', false, true});
    ExpectKey("\x01", {'A', false, true});
    ExpectKey("\x1B[A", {VK_UP});
    ExpectKey("\x1BOB", {VK_DOWN});
    ExpectKey("\x1B[D", {VK_LEFT});
    ExpectKey("\x1B[C", {VK_RIGHT});
    ExpectKey("\x1B[5~", {VK_PRIOR});
    ExpectKey("\x1B[6~", {VK_NEXT});
    for (const char* home : {"\x1B[H", "\x1BOH", "\x1B[1~", "\x1B[7~"}) ExpectKey(home, {VK_HOME});
    for (const char* end : {"\x1B[F", "\x1BOF", "\x1B[4~", "\x1B[8~"}) ExpectKey(end, {VK_END});
    ExpectKey("\r", {VK_RETURN});
    ExpectKey("\n", {VK_RETURN});
    ExpectKey("\t", {VK_TAB});
    ExpectKey("\x1B[Z", {VK_TAB, true});
    ExpectKey(" ", {VK_SPACE, false, false, false, u' '});
    ExpectKey("\x7F", {VK_BACK});
    ExpectKey("\x1B[3~", {VK_DELETE});
}

TEST(KeyDecoder, ModifiersOfCursorAndFunctionKeys) {
    ExpectKey("\x1B[1;2A", {VK_UP, true});
    ExpectKey("\x1B[1;5C", {VK_RIGHT, false, true});
    ExpectKey("\x1B[1;3D", {VK_LEFT, false, false, true});
    ExpectKey("\x1B[5;2~", {VK_PRIOR, true});
    ExpectKey("\x1B[1;2P", {VK_F1, true});
}

TEST(KeyDecoder, TypedCharactersAreCharactersNotKeys) {
    // "$" is 0x24 like Home, "%" 0x25 like Left, "&" 0x26 like Up.
    const auto events = Decode("AB$C%&(a");
    const std::u16string typed = u"AB$C%&(a";
    ASSERT_EQ(events.size(), typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(events[i].vk, VK_PACKET);
        EXPECT_EQ(events[i].ch, typed[i]);
        EXPECT_FALSE(events[i].ctrl || events[i].alt);
    }
    ExpectKey("\xC3\xA9", {VK_PACKET, false, false, false, u'\u00E9'});
    ExpectKey("\xE2\x82\xAC", {VK_PACKET, false, false, false, u'\u20AC'});
    ExpectKey("\xFF", {VK_PACKET, false, false, false, u'\uFFFD'});
    ExpectKey("\xED\xA0\x80", {VK_PACKET, false, false, false, u'\uFFFD'});  // a surrogate
    // Alt with punctuation keeps the character: "$" must not become Home.
    ExpectKey("\x1B$", {VK_PACKET, false, false, true, u'$'});
}

TEST(KeyDecoder, EscAloneWaitsForQuietAndSequencesMayComeInPieces) {
    KeyDecoder decoder;
    std::vector<InputEvent> events;
    decoder.Feed("\x1B", events);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(decoder.Pending());
    decoder.Feed("[", events);
    decoder.Feed("1;2", events);
    EXPECT_TRUE(events.empty());
    decoder.Feed("B\x1B", events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].vk, VK_DOWN);
    EXPECT_TRUE(events[0].shift);
    decoder.Flush(events);  // the terminal went quiet after the second Esc
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].vk, VK_ESCAPE);
    EXPECT_FALSE(events[1].alt);
    EXPECT_FALSE(decoder.Pending());

    decoder.Feed("\xC3", events);  // half a character
    EXPECT_EQ(events.size(), 2u);
    decoder.Feed("\xA9", events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].ch, u'\u00E9');

    const auto twice = Decode("\x1B\x1B");
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_EQ(twice[0].vk, VK_ESCAPE);
    EXPECT_EQ(twice[1].vk, VK_ESCAPE);
}

TEST(KeyDecoder, MousePressesTheWheelAndResizes) {
    using platform::kCellHeight;
    using platform::kCellWidth;
    auto events = Decode("\x1B[<0;5;3M\x1B[<0;5;3m\x1B[<64;10;4M\x1B[<65;10;4M\x1B[<2;1;1M");
    ASSERT_EQ(events.size(), 3u);  // the release and the right button mean nothing
    EXPECT_EQ(events[0].kind, Kind::tap);
    EXPECT_EQ(events[0].x, 4 * kCellWidth + kCellWidth / 2);
    EXPECT_EQ(events[0].y, 2 * kCellHeight + kCellHeight / 2);
    EXPECT_EQ(events[1].kind, Kind::wheel);
    EXPECT_EQ(events[1].delta, 1);
    EXPECT_EQ(events[2].delta, -1);
    // The older X10 report: button, column and row as bytes from 32 and 33.
    events = Decode(std::string("\x1B[M") + char(32) + char(33 + 7) + char(33 + 1));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, Kind::tap);
    EXPECT_EQ(events[0].x, 7 * kCellWidth + kCellWidth / 2);
    events = Decode("\x1B[48;30;100;390;600t");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, Kind::resize);
}

TEST(KeyDecoder, ParametersTooLargeForAnyTerminalAreCapped) {
    using platform::kCellWidth;
    // A column of sixteen digits: no overflow, and a tap right of any screen whose point still
    // fits the 16 bits of a message (wrapped, it would land on the screen).
    auto events = Decode("\x1B[<0;9999999999999991;3M\x1B[99999999999~\x1B[1;99999999999A");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, Kind::tap);
    EXPECT_GE(events[0].x, 2000 * kCellWidth);
    EXPECT_LE(events[0].x, 32767);
    EXPECT_EQ(events[1].vk, VK_UP);
    events = Decode("\x1B[<0;1;77777M");  // a row's cells are taller than a column's
    ASSERT_EQ(events.size(), 1u);
    EXPECT_LE(events[0].y, 32767);
}

TEST(KeyDecoder, UnknownAndEndlessSequencesAreDropped) {
    EXPECT_TRUE(Decode("\x1B[99~\x1B[?1;2c").empty());
    KeyDecoder decoder;
    std::vector<InputEvent> events;
    // An endless sequence is dropped up to its final byte, or until the terminal is quiet.
    decoder.Feed("\x1B[" + std::string(100, '1'), events);
    decoder.Feed("2;3~x", events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].ch, u'x');
    decoder.Feed("\x1B[" + std::string(100, '1'), events);
    EXPECT_TRUE(decoder.Pending());
    decoder.Flush(events);
    decoder.Feed("y", events);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].ch, u'y');
    // However the reads split it.
    const std::string junk = "\x1B[8;30;1" + std::string(60, '\0') + "00tz";
    KeyDecoder inReads;
    std::vector<InputEvent> pieces;
    for (std::size_t at = 0; at < junk.size(); at += 5) inReads.Feed(junk.substr(at, 5), pieces);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].ch, u'z');
    EXPECT_EQ(Decode(junk).size(), 1u);

    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 24, '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 3 ? random() % 128 : random());
        std::vector<InputEvent> out;
        decoder.Feed(bytes, out);
        if (round % 7 == 0) decoder.Flush(out);
        for (const InputEvent& e : out) {
            EXPECT_NE(e.kind, Kind::none);
            if (e.kind == Kind::key && e.vk == VK_PACKET) {
                EXPECT_NE(e.ch, 0);
            }
        }
    }
}

}  // namespace
