#include "user32/popup_list.h"

#include <algorithm>

#include "host/ascii.h"
#include "platform/user32/window.h"
#include "winsys/draw.h"
#include "winsys/modal.h"

namespace platform::detail {
namespace {

constexpr const char16_t* kPopupListClass = u"#32768";

struct PopupState : ControlState {
    const std::vector<PopupListItem>* items = nullptr;
    PopupListStyle style;
    int highlighted = -1;
    int top = 0;   // first item shown
    int rows = 1;  // items that fit
    bool done = false;
    int chosen = -1;

    int count() const { return static_cast<int>(items->size()); }
    bool Selectable(int i) const {
        return i >= 0 && i < count() && !(*items)[i].separator && !(*items)[i].text.empty();
    }
};

void KeepInView(PopupState& s) {
    if (s.highlighted < 0) return;
    if (s.highlighted < s.top) s.top = s.highlighted;
    if (s.highlighted >= s.top + s.rows) s.top = s.highlighted - s.rows + 1;
}

// Moves the highlight `steps` selectable items on (back when negative), over separators; a
// menu wraps round, a list stops at its ends.
void MoveBy(PopupState& s, int steps) {
    const int count = s.count();
    const int direction = steps > 0 ? 1 : -1;
    int at = s.highlighted;
    int left = std::abs(steps);
    for (int tries = 0; left > 0 && tries < count * (left + 1); ++tries) {
        int next = at + direction;
        if (s.style.menu) next = (next % count + count) % count;
        if (next < 0 || next >= count) break;
        at = next;
        if (s.Selectable(at)) {
            s.highlighted = at;
            --left;
        }
    }
    KeepInView(s);
}

void MoveTo(PopupState& s, int index, int direction) {
    s.highlighted = index - direction;
    if (s.highlighted < -1) s.highlighted = -1;
    MoveBy(s, direction);
}

void Choose(PopupState& s, int index) {
    if (!s.Selectable(index)) return;
    s.chosen = index;
    s.done = true;
}

void TypeLetter(PopupState& s, char16_t letter) {
    const int count = s.count();
    for (int i = 1; i <= count; ++i) {
        const int index = ((s.highlighted < 0 ? -1 : s.highlighted) + i) % count;
        if (!s.Selectable(index)) continue;
        const std::u16string& text = (*s.items)[index].text;
        char16_t key = text[0];
        if (s.style.menu) StripMnemonic(text, &key);
        if (!key || AsciiUpper(key) != AsciiUpper(letter)) continue;
        if (s.style.menu) {
            Choose(s, index);
        } else {
            s.highlighted = index;
            KeepInView(s);
        }
        return;
    }
}

void OnKey(PopupState& s, WPARAM key, LPARAM flags) {
    switch (key) {
        case VK_UP: return MoveBy(s, -1);
        case VK_DOWN: return MoveBy(s, 1);
        case VK_PRIOR: return MoveBy(s, -s.rows);
        case VK_NEXT: return MoveBy(s, s.rows);
        case VK_HOME: return MoveTo(s, 0, 1);
        case VK_END: return MoveTo(s, s.count() - 1, -1);
        case VK_RETURN:
        case VK_SPACE: return Choose(s, s.highlighted);
        case VK_ESCAPE: s.done = true; return;
        case VK_LEFT: s.done = s.done || s.style.leftCloses; return;
        case VK_TAB: s.done = s.done || s.style.tabCloses; return;
        default:
            if (const auto letter = static_cast<char16_t>(flags & 0xFFFF)) TypeLetter(s, letter);
            return;
    }
}

// Every list is framed: menus, and the drop-down lists of combo boxes.
int FrameCells(const PopupState&) {
    return 1;
}

void OnTap(HWND window, PopupState& s, LPARAM point) {
    RECT client{};
    GetClientRect(window, &client);
    const int x = static_cast<short>(LOWORD(point));
    const int y = static_cast<short>(HIWORD(point));
    if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) {
        s.done = true;  // a tap outside chooses nothing
        return;
    }
    const int row = PixelToRow(y) - FrameCells(s);
    if (row >= 0 && row < s.rows) Choose(s, s.top + row);
}

void OnWheel(PopupState& s, WPARAM wParam) {
    const int notches = static_cast<short>(HIWORD(wParam)) / 120;
    s.top = std::clamp(s.top - notches, 0, std::max(0, s.count() - s.rows));
}

LRESULT PopupListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PopupState* s = StateOf<PopupState>(window);
    if (!s) return 0;
    switch (message) {
        case WM_KEYDOWN: OnKey(*s, wParam, lParam); return 0;
        case WM_LBUTTONDOWN: OnTap(window, *s, lParam); return 0;
        case WM_MOUSEWHEEL: OnWheel(*s, wParam); return 0;
        default: return 0;
    }
}

void DrawItem(const PopupState& s, int index, CellGrid& grid, const CellRect& row) {
    const PopupListItem& item = (*s.items)[index];
    if (item.separator || item.text.empty()) {
        Cell line = kPlain;
        line.ch = u'\u2500';
        for (int c = row.left; c < row.right; ++c) grid.Set(c, row.top, line);
        return;
    }
    const Cell style = index == s.highlighted ? kHighlight : kPlain;
    grid.Fill(row, style);
    const int textRight = row.right - 1;
    const int end = s.style.menu
                        ? DrawMnemonicText(grid, row.left + 1, row.top, item.text, style, textRight)
                        : grid.Text(row.left + 1, row.top, item.text, style, textRight);
    if (item.submenu)
        grid.Text(std::max(end + 1, row.right - 2), row.top, u"\u25B8", style, row.right);
}

void DrawPopupList(HWND window, CellGrid& grid, const CellRect& b) {
    const PopupState* s = StateOf<PopupState>(window);
    if (!s) return;
    const int frame = FrameCells(*s);
    DrawFrame(grid, b, kPlain);
    for (int r = 0; r < s->rows && s->top + r < s->count(); ++r) {
        const int y = b.top + frame + r;
        DrawItem(*s, s->top + r, grid, {b.left + frame, y, b.right - frame, y + 1});
    }
    if (s->top > 0) grid.Text(b.right - 1, b.top + frame, u"\u25B4", kPlain);
    if (s->top + s->rows < s->count())
        grid.Text(b.right - 1, b.bottom - 1 - frame, u"\u25BE", kPlain);
}

}  // namespace

int PopupListRows(int items, const PopupListStyle&) {
    return items + 2;
}

int RunPopupList(HWND owner, const RECT& rect, const std::vector<PopupListItem>& items,
                 int highlighted, const PopupListStyle& style) {
    if (items.empty()) return -1;
    RegisterBuiltinClass(kPopupListClass, PopupListProc, DrawPopupList);
    const HWND popup =
        CreateWindowExW(0, kPopupListClass, u"", 0, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
    PopupState* s = CreateState<PopupState>(popup);
    if (!s) return -1;
    s->items = &items;
    s->style = style;
    s->rows = std::max(1, (rect.bottom - rect.top) / kCellHeight - 2 * FrameCells(*s));
    MoveTo(*s, std::clamp(highlighted, 0, s->count() - 1), 1);
    const bool alive = RunPopupWindow(popup, [s] { return s->done; });
    const int chosen = alive ? s->chosen : -1;
    DestroyWindow(popup);
    return chosen;
}

}  // namespace platform::detail
