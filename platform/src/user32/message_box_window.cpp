// The modal message box of the window system: a framed box in the middle of the screen with
// its caption, its text and its buttons.
#include <algorithm>

#include "platform/user32/message_box.h"
#include "user32/message_box_window.h"
#include "winsys/draw.h"
#include "winsys/modal.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

constexpr const char16_t* kMessageBoxClass = u"MessageBox";
constexpr int kMaxTextWidth = 44;

struct BoxState : ControlState {
    std::u16string caption;
    std::u16string text;
    bool okCancel = false;
    int selected = 0;  // 0: OK, 1: Cancel
    int result = 0;
};

BoxState* Box(HWND window) {
    return StateOf<BoxState>(window);
}

int TextWidth(const CellRect& b) {
    return std::max(1, b.right - b.left - 4);
}

std::u16string ButtonLabel(int index) {
    return index == 0 ? u"[ OK ]" : u"[ Cancel ]";
}

// The columns of the buttons on the last inner row.
int ButtonLeft(const BoxState& s, const CellRect& b, int index) {
    const int width = s.okCancel ? 17 : 6;
    const int left = b.left + (b.right - b.left - width) / 2;
    return index == 0 ? left : left + 7;
}

void Finish(BoxState& s, int index) {
    s.result = index == 0 ? IDOK : (s.okCancel ? IDCANCEL : IDOK);
}

LRESULT OnKey(BoxState& s, WPARAM key) {
    switch (key) {
        case VK_RETURN:
        case VK_SPACE: Finish(s, s.selected); break;
        case VK_ESCAPE: Finish(s, 1); break;
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
            if (s.okCancel) s.selected = 1 - s.selected;
            break;
        default: break;
    }
    return 0;
}

// A tap on a button answers with it.
LRESULT OnTap(HWND window, BoxState& s, LPARAM point) {
    const CellRect b = ScreenCells(window);
    POINT p{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    ClientToScreen(window, &p);
    const int column = PixelToColumn(p.x), row = PixelToRow(p.y);
    if (row != b.bottom - 2) return 0;
    for (int i = 0; i < (s.okCancel ? 2 : 1); ++i) {
        const int left = ButtonLeft(s, b, i);
        if (column >= left && column < left + static_cast<int>(ButtonLabel(i).size())) Finish(s, i);
    }
    return 0;
}

LRESULT BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BoxState* s = Box(window);
    if (!s) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_KEYDOWN: return OnKey(*s, wParam);
        case WM_LBUTTONDOWN: return OnTap(window, *s, lParam);
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void DrawBox(HWND window, CellGrid& grid, const CellRect& b) {
    const BoxState* s = Box(window);
    DrawFrame(grid, b, kPlain);
    if (!s) return;
    // As the title bar: it stands out in every palette, and in reverse video without colour.
    const Cell title{u' ', Color::white, Color::blue, true};
    DrawCentred(grid, b.left + 1, b.right - 1, b.top, u" " + s->caption + u" ", title);
    const auto lines = WrapText(s->text, TextWidth(b));
    for (std::size_t i = 0; i < lines.size() && b.top + 1 + static_cast<int>(i) < b.bottom - 3;
         ++i) {
        grid.Text(b.left + 2, b.top + 1 + static_cast<int>(i), lines[i], kPlain, b.right - 2);
    }
    for (int i = 0; i < (s->okCancel ? 2 : 1); ++i) {
        grid.Text(ButtonLeft(*s, b, i), b.bottom - 2, ButtonLabel(i),
                  i == s->selected ? kHighlight : kPlain, b.right - 1);
    }
}

RECT BoxRect(const std::u16string& caption, const std::u16string& text) {
    int width = static_cast<int>(caption.size()) + 4;
    for (const auto& line : WrapText(text, kMaxTextWidth)) {
        width = std::max(width, static_cast<int>(line.size()));
    }
    width = std::max(width, 18);
    const int columns = std::min(width + 4, ScreenWidth() / kCellWidth);
    // A text longer than the screen shows its beginning; the buttons always show.
    const int screenRows = ScreenHeight() / kCellHeight;
    const int lines =
        std::max(1, std::min(static_cast<int>(WrapText(text, columns - 4).size()), screenRows - 6));
    const int rows = lines + 4;
    const int left = (ScreenWidth() / kCellWidth - columns) / 2;
    const int top = std::max(2, (ScreenHeight() / kCellHeight - rows) / 2);
    return {left * kCellWidth, top * kCellHeight, (left + columns) * kCellWidth,
            (top + rows) * kCellHeight};
}

}  // namespace

int ShowMessageBoxWindow(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    RegisterBuiltinClass(kMessageBoxClass, BoxProc, DrawBox);
    auto state = std::make_unique<BoxState>();
    state->caption = caption ? caption : u"";
    state->text = text ? text : u"";
    state->okCancel = (type & 0xF) == MB_OKCANCEL;
    const RECT r = BoxRect(state->caption, state->text);
    OwnedModal modal(owner);
    const HWND box =
        CreateWindowExW(0, kMessageBoxClass, state->caption.c_str(), 0, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, owner, nullptr, nullptr, nullptr);
    if (!box) return IDCANCEL;
    BoxState* s = state.get();
    FindWindowData(box)->control = std::move(state);
    SetFocus(box);
    modal.Run(box, [s] { return s->result != 0; });
    const int result = IsWindow(box) && s->result ? s->result : IDCANCEL;
    DestroyWindow(box);
    return result;
}

}  // namespace platform::detail
