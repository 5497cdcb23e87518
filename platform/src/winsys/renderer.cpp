// Draws the whole screen into the grid: the windows from the bottom up, then the
// navigation bar.
#include "host/device.h"
#include "winsys/draw.h"
#include "platform/aygshell/shell.h"
#include "aygshell/shell_internal.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

constexpr Cell kDesktop{u' ', Color::white, Color::black};
constexpr Cell kNavigationBar{u' ', Color::white, Color::blue, true};

Cell BrushCell(HBRUSH brush) {
    if (brush == GetStockObject(BLACK_BRUSH)) return {u' ', Color::white, Color::black};
    if (brush == GetStockObject(LTGRAY_BRUSH)) return {u' ', Color::black, Color::gray};
    return kPlain;
}

void DrawTree(CellGrid& grid, HWND window, const CellRect& clip) {
    WindowData* data = FindWindowData(window);
    const CellRect bounds = ScreenCells(window);
    const CellRect visible = bounds.Intersect(clip);
    if (visible.Empty()) return;
    grid.SetClip(visible);
    if (data->cls->draw) {
        data->cls->draw(window, grid, bounds);
    } else {
        grid.Fill(bounds, BrushCell(data->cls->background));
    }
    for (HWND child : std::vector<HWND>(data->children)) {
        if (IsWindowVisible(child)) DrawTree(grid, child, visible);
    }
}

void DrawNavigationBar(CellGrid& grid) {
    grid.ResetClip();
    const int rows = PixelToRow(kNavigationBarHeight);
    grid.Fill({0, 0, grid.columns(), rows}, kNavigationBar);
    const HWND target = NavigationWindow();
    const int okColumn = PixelToColumn(OkButtonLeft());
    grid.Text(1, 0, NavigationTitle(target), kNavigationBar, okColumn - 1);
    if (HasOkButton(target)) grid.Text(okColumn, 0, u"[ok]", kNavigationBar);
    if (Windows().busy) grid.Text(okColumn - 2, 0, u"\u231B", kNavigationBar);
}

}  // namespace

void SetBusy(bool busy) {
    Windows().busy = busy;
    if (Device* device = CurrentDevice()) {
        Render(Windows().grid);
        device->Present(Windows().grid);
        device->SetBusy(busy);
    }
}

void Render(CellGrid& grid) {
    if (Device* device = CurrentDevice()) {
        if (grid.columns() != device->Columns() || grid.rows() != device->Rows()) {
            grid.Resize(device->Columns(), device->Rows());
        }
    }
    grid.ResetClip();
    grid.Fill({0, 0, grid.columns(), grid.rows()}, kDesktop);
    const CellRect screen{0, 0, grid.columns(), grid.rows()};
    for (HWND top : std::vector<HWND>(Windows().topLevels)) {
        if (IsWindowVisible(top)) DrawTree(grid, top, screen);
    }
    DrawNavigationBar(grid);
    grid.ResetClip();
}

}  // namespace platform::detail
