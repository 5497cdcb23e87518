// Drop-down list combo boxes ("COMBOBOX" with CBS_DROPDOWNLIST): unsorted entries with item
// data and a current selection. A tap, Space or Alt+Down opens the list (the shared popup
// list, under the box or, without room, above it); Up and Down change the selection; a typed
// letter selects the next entry that starts with it. Not supported: typing into the box
// (other combo styles), sorted lists, owner drawing.
#include <algorithm>
#include <vector>

#include "comctl32/controls_internal.h"
#include "host/ascii.h"
#include "platform/host/screen_layout.h"
#include "user32/popup_list.h"
#include "winsys/draw.h"

namespace platform::detail {
namespace {

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

// The next entry after `from` that starts with the letter, or -1.
int NextStartingWith(const std::vector<Entry>& entries, int from, char16_t letter) {
    const int count = static_cast<int>(entries.size());
    for (int i = 1; i <= count; ++i) {
        const int index = (from + i) % count;
        if (!entries[index].text.empty() &&
            AsciiUpper(entries[index].text[0]) == AsciiUpper(letter))
            return index;
    }
    return -1;
}

void Select(HWND combo, ComboState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.entries.size()) || index == s.selected) return;
    s.selected = index;
    NotifyParent(combo, CBN_SELCHANGE);
}

// The open list's rectangle: under the box, or above it when there is more room there.
// The list's rectangle: its rows and a frame around them (a list over the dialog's own text
// must be told from it), below the box or, where there is more room, above.
RECT DropRect(HWND combo, int count) {
    const RECT box = ScreenRect(combo);
    const int below = (ScreenHeight() - (box.top + kCellHeight)) / kCellHeight - 2;
    const int above = (box.top - kNavigationBarHeight) / kCellHeight - 2;
    const bool down = below >= std::min(count, 4) || below >= above;
    const int rows = std::max(1, std::min({count, kMaxDropRows, down ? below : above}));
    const int height = (rows + 2) * kCellHeight;
    const int top = down ? box.top + kCellHeight : box.top - height;
    return {box.left, top, box.right, top + height};
}

// Opens the list and runs it modally; a choice becomes the selection.
void DropDown(HWND combo, ComboState& s) {
    if (s.entries.empty() || s.dropped) return;
    std::vector<PopupListItem> items;
    for (const Entry& entry : s.entries) items.push_back({entry.text});
    PopupListStyle style;
    style.tabCloses = true;
    s.dropped = true;
    NotifyParent(combo, CBN_DROPDOWN);
    const int chosen = RunPopupList(combo, DropRect(combo, static_cast<int>(items.size())), items,
                                    std::max(0, s.selected), style);
    // The box may have gone while its list was open.
    ComboState* after = StateOf<ComboState>(combo);
    if (!after) return;
    after->dropped = false;
    NotifyParent(combo, CBN_CLOSEUP);
    if (chosen >= 0) Select(combo, *after, chosen);
}

bool Valid(const ComboState& s, WPARAM index) {
    return static_cast<std::intptr_t>(index) >= 0 &&
           static_cast<std::intptr_t>(index) < static_cast<std::intptr_t>(s.entries.size());
}

LRESULT AddString(ComboState& s, LPARAM text) {
    s.entries.push_back({text ? reinterpret_cast<LPCWSTR>(text) : u"", 0});
    return static_cast<LRESULT>(s.entries.size()) - 1;
}

LRESULT SetCurSel(ComboState& s, WPARAM index) {
    s.selected = Valid(s, index) ? static_cast<int>(index) : -1;
    return Valid(s, index) ? s.selected : CB_ERR;
}

LRESULT SetItemData(ComboState& s, WPARAM index, LPARAM data) {
    if (!Valid(s, index)) return CB_ERR;
    s.entries[index].data = data;
    return 0;
}

LRESULT GetItemData(const ComboState& s, WPARAM index) {
    return Valid(s, index) ? s.entries[index].data : CB_ERR;
}

LRESULT GetTextLength(const ComboState& s, WPARAM index) {
    return Valid(s, index) ? static_cast<LRESULT>(s.entries[index].text.size()) : CB_ERR;
}

// As on Windows, the buffer must hold CB_GETLBTEXTLEN characters and a zero.
LRESULT GetText(const ComboState& s, WPARAM index, LPARAM out) {
    auto* buffer = reinterpret_cast<char16_t*>(out);
    if (!Valid(s, index) || !buffer) return CB_ERR;
    const auto& text = s.entries[index].text;
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return static_cast<LRESULT>(text.size());
}

LRESULT ShowDropDown(HWND window, ComboState& s, WPARAM show) {
    if (show) DropDown(window, s);
    return TRUE;
}

LRESULT OnTap(HWND window, ComboState& s) {
    SetFocus(window);
    DropDown(window, s);
    return 0;
}

LRESULT OnKey(HWND window, ComboState& s, WPARAM key, LPARAM flags) {
    const bool alt = (flags & KF_ALT_STATE) != 0;
    if (key == VK_SPACE || (alt && key == VK_DOWN))
        DropDown(window, s);
    else if (key == VK_DOWN)
        Select(window, s, s.selected + 1);
    else if (key == VK_UP)
        Select(window, s, s.selected - 1);
    return 0;
}

LRESULT OnChar(HWND window, ComboState& s, WPARAM ch) {
    if (ch != u' ') Select(window, s, NextStartingWith(s.entries, s.selected, char16_t(ch)));
    return 0;
}

LRESULT OnGetText(const ComboState& s, WPARAM capacity, LPARAM buffer) {
    return CopyTextOut(s.selected >= 0 ? s.entries[s.selected].text : u"", capacity, buffer);
}

LRESULT OnCreate(HWND window) {
    CreateState<ComboState>(window);
    return 0;
}

LRESULT ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window);
    ComboState* s = StateOf<ComboState>(window);
    if (!s) return ControlDefault(window, message, wParam, lParam);
    switch (message) {
        case WM_LBUTTONDOWN: return OnTap(window, *s);
        case WM_KEYDOWN: return OnKey(window, *s, wParam, lParam);
        case WM_CHAR: return OnChar(window, *s, wParam);
        case WM_GETTEXT: return OnGetText(*s, wParam, lParam);
        case CB_ADDSTRING: return AddString(*s, lParam);
        case CB_GETCOUNT: return static_cast<LRESULT>(s->entries.size());
        case CB_GETCURSEL: return s->selected;
        case CB_SETCURSEL: return SetCurSel(*s, wParam);
        case CB_SETITEMDATA: return SetItemData(*s, wParam, lParam);
        case CB_GETITEMDATA: return GetItemData(*s, wParam);
        case CB_GETLBTEXTLEN: return GetTextLength(*s, wParam);
        case CB_GETLBTEXT: return GetText(*s, wParam, lParam);
        case CB_SHOWDROPDOWN: return ShowDropDown(window, *s, wParam);
        case CB_GETDROPPEDSTATE: return s->dropped;
        default: return ControlDefault(window, message, wParam, lParam);
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
