// The device under the window system: a screen to draw the cell grid on, a source of input,
// a clock, a bell, and a way to start other programs. The terminal and the headless test
// device implement it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/cell_grid.h"
#include "platform/win_types.h"

namespace platform::detail {

struct InputEvent {
    enum class Kind { none, key, tap, wheel, resize, hibernate, quit };
    Kind kind = Kind::none;
    WORD vk = 0;
    char16_t ch = 0;  // the character a key types, if any
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    int x = 0;  // pixels, for taps and the wheel
    int y = 0;
    int delta = 0;  // wheel: positive up
};

// A key pressed while the program blocks in a network call.
enum class BlockedKey { none, cancel, cancelAndQuit };

class Device {
public:
    virtual ~Device() = default;
    virtual int Columns() const = 0;
    virtual int Rows() const = 0;
    // Milliseconds on a steady clock, and local wall-clock milliseconds since 1970.
    virtual std::int64_t NowMs() const = 0;
    virtual std::int64_t LocalTimeMs() const = 0;
    // Waits for input until `deadline` (NowMs; -1: no deadline) or until `wakeFd` is readable;
    // an event of kind none means it woke without input.
    virtual InputEvent Wait(std::int64_t deadline, int wakeFd) = 0;
    virtual void Present(const CellGrid& grid) = 0;
    virtual void Bell() {}
    virtual void Flash() {}
    // The title of the window that shows the device (a terminal emulator's), where it has one.
    virtual void SetTitle(const std::u16string& /*title*/) {}
    // Starts a program; an `interactive` one gets the terminal until it ends.
    virtual void Launch(const std::vector<std::string>& argv, bool interactive) = 0;
    // While the program blocks in a network call: a descriptor that is readable when input
    // waits (-1: none), and what that input asks, read without blocking. Esc cancels the call,
    // Ctrl+Q (or a terminal that has gone) cancels it and quits; other input waits for Wait.
    virtual int BlockedInputFd() const { return -1; }
    virtual BlockedKey TakeBlockedKey() { return BlockedKey::none; }
};

// The device in use, or null (the window system then has no input and no screen).
Device* CurrentDevice();
void SetCurrentDevice(Device* device);
// A device made on first use: a second viewer, which only looks for the first one, never
// takes over the terminal.
void SetDeviceFactory(std::unique_ptr<Device> (*factory)());
void CloseOwnedDevice();

}  // namespace platform::detail
