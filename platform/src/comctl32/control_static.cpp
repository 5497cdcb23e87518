// Static text: plain, sunken or framed; several lines, wrapped; "\r" starts a new line.
// Not supported: icons, bitmaps, owner drawing, notifications.
#include "comctl32/controls_internal.h"
#include "platform/user32/dialogs.h"
#include "winsys/draw.h"

namespace platform::detail {
namespace {

struct StaticState : ControlState {};

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) CreateState<StaticState>(window);
    return ControlDefault(window, message, wParam, lParam);
}

void DrawStatic(HWND window, CellGrid& grid, const CellRect& b) {
    const WindowData* data = FindWindowData(window);
    grid.Fill(b, kPlain);
    CellRect inside = b;
    if ((data->style & (SS_SUNKEN | WS_BORDER)) && b.bottom - b.top >= 3) {
        DrawFrame(grid, b, kPlain);
        inside = {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1};
    } else {
        inside = TextClip(window, b);
        grid.SetClip(inside);
        if (inside.bottom - inside.top == 1) inside.right = inside.left + 1000;  // one line, run on
    }
    const int width = std::min(inside.right, grid.clip().right) - inside.left;
    const auto lines = WrapText(data->text, width);
    for (int i = 0; i < static_cast<int>(lines.size()) && inside.top + i < inside.bottom; ++i) {
        const int length = std::min<int>(static_cast<int>(lines[i].size()), width);
        int left = inside.left;
        if ((data->style & 0x3) == SS_CENTER) left += (width - length) / 2;
        if ((data->style & 0x3) == SS_RIGHT) left += width - length;
        grid.Text(left, inside.top + i, lines[i], kPlain, inside.right);
    }
}

}  // namespace

void RegisterStaticClass() {
    RegisterBuiltinClass(u"Static", StaticProc, DrawStatic);
}

}  // namespace platform::detail
