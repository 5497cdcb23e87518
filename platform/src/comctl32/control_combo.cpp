// Drop-down list combo boxes: unsorted entries with item data and a current selection. A tap,
// Space or Alt+Down opens the list (a scrolling popup); Up and Down change the selection; a
// typed letter jumps to the next entry that starts with it.
#include <algorithm>
#include <vector>

#include "comctl32/controls_internal.h"
#include "winsys/draw.h"
#include "platform/user32/dialogs.h"
#include "platform/aygshell/shell.h"

namespace platform::detail {
namespace {

constexpr const char16_t* kListClass = u"ComboLBox";
constexpr int kMaxDropRows = 10;

struct Entry {
    std::u16string text;
    LPARAM data = 0;
};

struct ComboState : ControlState {
    std::vector<Entry> entries;
    int selected = -1;
    bool dropped = false;
};

// The open list of a combo box.
struct DropState : ControlState {
    ComboState* combo = nullptr;
    int highlighted = 0;
    int top = 0;
    int rows = 1;
    bool done = false;
    bool chosen = false;
};

char16_t Upper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
}

// The next entry after `from` that starts with the letter, or -1.
int NextStartingWith(const std::vector<Entry>& entries, int from, char16_t letter) {
    const int count = static_cast<int>(entries.size());
    for (int i = 1; i <= count; ++i) {
        const int index = (from + i) % count;
        if (!entries[index].text.empty() && Upper(entries[index].text[0]) == Upper(letter))
            return index;
    }
    return -1;
}

void Select(HWND combo, ComboState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.entries.size()) || index == s.selected) return;
    s.selected = index;
    NotifyParent(combo, CBN_SELCHANGE);
}

void Highlight(DropState& d, int index) {
    const int count = static_cast<int>(d.combo->entries.size());
    d.highlighted = std::clamp(index, 0, std::max(0, count - 1));
    if (d.highlighted < d.top) d.top = d.highlighted;
    if (d.highlighted >= d.top + d.rows) d.top = d.highlighted - d.rows + 1;
}

LRESULT DropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DropState* d = StateOf<DropState>(window);
    if (!d) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_KEYDOWN:
            switch (wParam) {
                case VK_UP:
                    Highlight(*d, d->highlighted - 1);
                    break;
                case VK_DOWN:
                    Highlight(*d, d->highlighted + 1);
                    break;
                case VK_PRIOR:
                    Highlight(*d, d->highlighted - d->rows);
                    break;
                case VK_NEXT:
                    Highlight(*d, d->highlighted + d->rows);
                    break;
                case VK_HOME:
                    Highlight(*d, 0);
                    break;
                case VK_END:
                    Highlight(*d, static_cast<int>(d->combo->entries.size()) - 1);
                    break;
                case VK_RETURN:
                case VK_SPACE:
                    d->chosen = d->done = true;
                    break;
                case VK_ESCAPE:
                case VK_TAB:
                    d->done = true;
                    break;
                default:
                    if (const auto letter = static_cast<char16_t>(lParam & 0xFFFF)) {
                        const int next =
                            NextStartingWith(d->combo->entries, d->highlighted, letter);
                        if (next >= 0) Highlight(*d, next);
                    }
            }
            return 0;
        case WM_MOUSEWHEEL:
            d->top = std::clamp(d->top - static_cast<short>(HIWORD(wParam)) / 120, 0,
                                std::max(0, static_cast<int>(d->combo->entries.size()) - d->rows));
            return 0;
        case WM_LBUTTONDOWN: {
            RECT client{};
            GetClientRect(window, &client);
            const int x = static_cast<short>(LOWORD(lParam)),
                      y = static_cast<short>(HIWORD(lParam));
            if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) {
                d->done = true;  // a tap outside closes the list
                return 0;
            }
            const int index = d->top + PixelToRow(y);
            if (index < static_cast<int>(d->combo->entries.size())) {
                d->highlighted = index;
                d->chosen = d->done = true;
            }
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void DrawDrop(HWND window, CellGrid& grid, const CellRect& b) {
    const DropState* d = StateOf<DropState>(window);
    grid.Fill(b, kPlain);
    if (!d) return;
    for (int row = 0; row < d->rows; ++row) {
        const int index = d->top + row;
        if (index >= static_cast<int>(d->combo->entries.size())) break;
        const Cell style = index == d->highlighted ? kFocusCell : kPlain;
        grid.Fill({b.left, b.top + row, b.right, b.top + row + 1}, style);
        grid.Text(b.left + 1, b.top + row, d->combo->entries[index].text, style, b.right);
    }
    if (d->top > 0) grid.Text(b.right - 1, b.top, u"\u25B4", kPlain);
    if (d->top + d->rows < static_cast<int>(d->combo->entries.size())) {
        grid.Text(b.right - 1, b.bottom - 1, u"\u25BE", kPlain);
    }
}

// Opens the list under (or, without room, above) the box and runs it modally.
void DropDown(HWND combo, ComboState& s) {
    if (s.entries.empty() || s.dropped) return;
    RegisterBuiltinClass(kListClass, DropProc, DrawDrop);
    const RECT box = ScreenRect(combo);
    const int count = static_cast<int>(s.entries.size());
    const int below = (ScreenHeight() - (box.top + kCellHeight)) / kCellHeight;
    const int above = (box.top - kNavigationBarHeight) / kCellHeight;
    const bool down = below >= std::min(count, 4) || below >= above;
    const int rows = std::max(1, std::min({count, kMaxDropRows, down ? below : above}));
    const int top = down ? box.top + kCellHeight : box.top - rows * kCellHeight;
    const HWND list = CreateWindowExW(0, kListClass, u"", 0, box.left, top, box.right - box.left,
                                      rows * kCellHeight, combo, nullptr, nullptr, nullptr);
    if (!list) return;
    DropState* d = CreateState<DropState>(list);
    d->combo = &s;
    d->rows = rows;
    Highlight(*d, std::max(0, s.selected));
    s.dropped = true;
    NotifyParent(combo, CBN_DROPDOWN);
    const bool chosen = RunPopupWindow(list, [d] { return d->done; }) && d->chosen;
    const int index = d->highlighted;
    DestroyWindow(list);
    s.dropped = false;
    NotifyParent(combo, CBN_CLOSEUP);
    if (chosen) Select(combo, s, index);
}

LRESULT ComboCommand(HWND window, ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    const int count = static_cast<int>(s.entries.size());
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    const bool valid = index >= 0 && index < count;
    switch (message) {
        case CB_ADDSTRING:
            s.entries.push_back({lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"", 0});
            return count;
        case CB_GETCOUNT:
            return count;
        case CB_GETCURSEL:
            return s.selected;
        case CB_SETCURSEL:
            s.selected = valid ? index : -1;
            return valid ? index : CB_ERR;
        case CB_SETITEMDATA:
            if (!valid) return CB_ERR;
            s.entries[index].data = lParam;
            return 0;
        case CB_GETITEMDATA:
            return valid ? s.entries[index].data : CB_ERR;
        case CB_GETLBTEXTLEN:
            return valid ? static_cast<LRESULT>(s.entries[index].text.size()) : CB_ERR;
        case CB_GETLBTEXT: {
            // As on Windows, the buffer must hold CB_GETLBTEXTLEN characters and a zero.
            auto* buffer = reinterpret_cast<char16_t*>(lParam);
            if (!valid || !buffer) return CB_ERR;
            const auto& text = s.entries[index].text;
            std::copy(text.begin(), text.end(), buffer);
            buffer[text.size()] = 0;
            return static_cast<LRESULT>(text.size());
        }
        case CB_SHOWDROPDOWN:
            if (wParam) DropDown(window, s);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return s.dropped;
        default:
            return ControlDefault(window, message, wParam, lParam);
    }
}

LRESULT ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ComboState* s = StateOf<ComboState>(window);
    if (message == WM_CREATE) {
        CreateState<ComboState>(window);
        return 0;
    }
    if (!s) return ControlDefault(window, message, wParam, lParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            SetFocus(window);
            DropDown(window, *s);
            return 0;
        case WM_KEYDOWN: {
            const bool alt = (lParam & KF_ALT_STATE) != 0;
            if (wParam == VK_SPACE || (alt && wParam == VK_DOWN))
                DropDown(window, *s);
            else if (wParam == VK_DOWN)
                Select(window, *s, s->selected + 1);
            else if (wParam == VK_UP)
                Select(window, *s, s->selected - 1);
            return 0;
        }
        case WM_CHAR:
            if (wParam != u' ')
                Select(window, *s,
                       NextStartingWith(s->entries, s->selected, static_cast<char16_t>(wParam)));
            return 0;
        case WM_GETTEXT:
            return CopyTextOut(s->selected >= 0 ? s->entries[s->selected].text : u"", wParam,
                               lParam);
        default:
            return ComboCommand(window, *s, message, wParam, lParam);
    }
}

void DrawCombo(HWND window, CellGrid& grid, const CellRect& b) {
    const ComboState* s = StateOf<ComboState>(window);
    const CellRect field{b.left, b.top, b.right, b.top + 1};
    grid.Fill(field, HasFocus(window) ? kFocusCell : kFieldCell);
    if (s && s->selected >= 0) {
        grid.Text(b.left + 1, b.top, s->entries[s->selected].text,
                  HasFocus(window) ? kFocusCell : kFieldCell, b.right - 2);
    }
    grid.Text(b.right - 1, b.top, u"\u25BE", HasFocus(window) ? kFocusCell : kFieldCell);
}

}  // namespace

void RegisterComboBoxClass() {
    RegisterBuiltinClass(u"ComboBox", ComboProc, DrawCombo);
}

}  // namespace platform::detail
