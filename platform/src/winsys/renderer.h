// Draws the whole screen into the grid: the windows from the bottom up, topmost windows (the
// navigation bar) last.
#pragma once

#include "platform/host/cell_grid.h"

namespace platform::detail {

void Render(CellGrid& grid);

// The busy mark in the navigation bar, while the program is blocked in a network call; the
// screen is drawn and shown at once.
void SetBusy(bool busy);

}  // namespace platform::detail
