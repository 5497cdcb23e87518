#include "winsys/renderer.h"

#include "host/device.h"
#include "winsys/draw.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

constexpr Cell kDesktop{u' ', Color::white, Color::black};

Cell BrushCell(HBRUSH brush) {
    if (brush == StockBrush(BLACK_BRUSH)) return {u' ', Color::white, Color::black};
    if (brush == StockBrush(LTGRAY_BRUSH)) return {u' ', Color::black, Color::gray};
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
        if (IsVisible(child)) DrawTree(grid, child, visible);
    }
}

void DrawLayer(CellGrid& grid, bool topmost) {
    const CellRect screen{0, 0, grid.columns(), grid.rows()};
    for (HWND top : std::vector<HWND>(Windows().topLevels)) {
        const WindowData* data = FindWindowData(top);
        if (data && data->topmost == topmost && IsVisible(top)) DrawTree(grid, top, screen);
    }
}

}  // namespace

// "PIV - Tickwell": the program's own window (the first top-level window of a class of its
// own), named in the title of the terminal it runs in.
void ShowProgramTitle(Device& device) {
    for (HWND top : Windows().topLevels) {
        const WindowData* data = FindWindowData(top);
        if (data && !data->cls->builtin && !data->text.empty()) {
            device.SetTitle(data->text + u" - Tickwell");
            return;
        }
    }
}

void Render(CellGrid& grid) {
    if (Device* device = CurrentDevice()) {
        if (grid.columns() != device->Columns() || grid.rows() != device->Rows()) {
            grid.Resize(device->Columns(), device->Rows());
        }
        ShowProgramTitle(*device);
    }
    ApplyDocking(true);
    grid.ResetClip();
    grid.Fill({0, 0, grid.columns(), grid.rows()}, kDesktop);
    DrawLayer(grid, false);
    DrawLayer(grid, true);
    grid.ResetClip();
}

void SetBusy(bool busy) {
    Windows().busy = busy;
    if (Device* device = CurrentDevice()) {
        Render(Windows().grid);
        device->Present(Windows().grid);
    }
}

}  // namespace platform::detail
