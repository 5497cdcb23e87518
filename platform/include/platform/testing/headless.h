// The headless device for tests: the same window system and drawing as the terminal, on an
// in-memory cell grid, with a virtual clock, driven by a script of steps. The script runs
// inside whatever message loop is waiting for input, modal loops included, so a test can
// open a menu, check it, choose an item, answer the message box and read the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/cell_grid.h"
#include "platform/user32/messages.h"

namespace platform::testing {

class HeadlessDevice {
public:
    // A screen of `columns` x `rows` cells; local time starts at `localTime` (ms since 1970).
    explicit HeadlessDevice(int columns = 60, int rows = 24,
                            std::int64_t localTime = 1796634300000);  // 2026-12-07 09:05
    ~HeadlessDevice();
    HeadlessDevice(const HeadlessDevice&) = delete;
    HeadlessDevice& operator=(const HeadlessDevice&) = delete;

    // Script steps, run in order whenever a loop waits for input.
    HeadlessDevice& Tap(int x, int y);  // pixels
    HeadlessDevice& TapCell(int column, int row);
    HeadlessDevice& TapText(const std::u16string& text, int occurrence = 0);
    HeadlessDevice& Key(WORD vk, bool shift = false, bool ctrl = false, bool alt = false);
    HeadlessDevice& Type(const std::u16string& text);
    HeadlessDevice& Wheel(int x, int y, int delta);
    HeadlessDevice& Advance(std::int64_t milliseconds);
    HeadlessDevice& Hibernate();
    HeadlessDevice& Resize(int columns, int rows);
    // Waits up to `milliseconds` of real time for requests of other processes.
    HeadlessDevice& Serve(int milliseconds);
    HeadlessDevice& Check(std::function<void()> check);
    // Steps still to run.
    std::size_t pending() const;
    // A key pressed while the program blocks in a network call, from any thread (a test's
    // server that holds the request): Esc, or Q with `ctrl`.
    void PressWhileBlocked(WORD vk, bool ctrl = false);

    // Runs a message loop (GetMessage, TranslateMessage, DispatchMessage) until WM_QUIT;
    // returns its code. When the script runs out, the loops end with code -1.
    int RunMessageLoop();

    // The screen as it was last drawn.
    const CellGrid& screen() const;
    std::u16string Text() const;
    std::u16string Row(int row) const;
    // The cell where `text` begins on the screen, or false.
    bool Find(const std::u16string& text, int& column, int& row, int occurrence = 0) const;

    std::int64_t now() const;
    int bells() const;
    int flashes() const;
    // Programs started: their command lines joined by spaces.
    const std::vector<std::string>& launches() const;
    // Steps that could not run (a text to tap that was not on the screen).
    const std::vector<std::string>& errors() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::testing
