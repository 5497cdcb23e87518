// Single-line edit boxes: a text limit, upper-casing and digits-only styles, right alignment,
// horizontal scrolling, a caret and a selection; typing, Backspace, Delete, Left, Right,
// Home, End (with Shift to select). Up and Down step the up-down control it is buddy of.
// Not supported: several lines, passwords, undo, the clipboard, a context menu.
#include <algorithm>

#include "comctl32/controls_internal.h"
#include "host/ascii.h"
#include "platform/user32/dialogs.h"
#include "winsys/draw.h"

namespace platform::detail {
namespace {

constexpr std::size_t kDefaultLimit = 30000;

struct EditState : ControlState {
    std::u16string text;
    std::size_t limit = kDefaultLimit;
    std::size_t caret = 0;
    std::size_t anchor = 0;  // the other end of the selection
    int scroll = 0;          // first character shown
    HWND upDown = nullptr;
};

std::size_t SelStart(const EditState& s) {
    return std::min(s.caret, s.anchor);
}
std::size_t SelEnd(const EditState& s) {
    return std::max(s.caret, s.anchor);
}

void DeleteSelection(EditState& s) {
    s.text.erase(SelStart(s), SelEnd(s) - SelStart(s));
    s.caret = s.anchor = SelStart(s);
}

void TypeCharacter(HWND window, EditState& s, char16_t c) {
    const DWORD style = FindWindowData(window)->style;
    if ((style & ES_NUMBER) && (c < u'0' || c > u'9')) {
        MessageBeep(0);
        return;
    }
    if (style & ES_UPPERCASE) c = AsciiUpper(c);
    if (s.text.size() - (SelEnd(s) - SelStart(s)) >= s.limit) {
        MessageBeep(0);
        NotifyParent(window, EN_MAXTEXT);
        return;
    }
    DeleteSelection(s);
    s.text.insert(s.caret, 1, c);
    s.caret = s.anchor = s.caret + 1;
    NotifyParent(window, EN_CHANGE);
}

void MoveCaret(EditState& s, std::size_t to, bool extend) {
    s.caret = std::min(to, s.text.size());
    if (!extend) s.anchor = s.caret;
}

void Key(HWND window, EditState& s, WPARAM key, LPARAM lParam) {
    const bool shift = (lParam & KF_SHIFT_STATE) != 0;
    switch (key) {
        case VK_LEFT: MoveCaret(s, s.caret > 0 ? s.caret - 1 : 0, shift); return;
        case VK_RIGHT: MoveCaret(s, s.caret + 1, shift); return;
        case VK_HOME: MoveCaret(s, 0, shift); return;
        case VK_END: MoveCaret(s, s.text.size(), shift); return;
        case VK_BACK:
        case VK_DELETE:
            if (s.caret == s.anchor) {
                if (key == VK_BACK && s.caret == 0) return;
                if (key == VK_DELETE && s.caret == s.text.size()) return;
                s.anchor = key == VK_BACK ? s.caret - 1 : s.caret + 1;
            }
            DeleteSelection(s);
            NotifyParent(window, EN_CHANGE);
            return;
        case VK_UP:
        case VK_DOWN:
            if (IsWindow(s.upDown)) SendMessageW(s.upDown, kUpDownStep, key == VK_UP ? 1 : -1, 0);
            return;
        default: return;
    }
}

LRESULT SetSelection(EditState& s, WPARAM wParam, LPARAM lParam) {
    const auto start = static_cast<long long>(static_cast<std::intptr_t>(wParam));
    const auto end = static_cast<long long>(lParam);
    const auto size = static_cast<long long>(s.text.size());
    if (start < 0) {
        s.anchor = s.caret;  // no selection
        return 0;
    }
    s.anchor = static_cast<std::size_t>(std::min(start, size));
    s.caret = static_cast<std::size_t>(end < 0 ? size : std::min(end, size));
    return 0;
}

LRESULT OnCreate(HWND window) {
    EditState* s = CreateState<EditState>(window);
    s->text = FindWindowData(window)->text;
    return 0;
}

LRESULT OnSetText(EditState& s, LPARAM text) {
    s.text = text ? reinterpret_cast<LPCWSTR>(text) : u"";
    s.caret = s.anchor = 0;
    s.scroll = 0;
    return TRUE;
}

LRESULT LimitText(EditState& s, WPARAM characters) {
    s.limit = characters ? characters : kDefaultLimit;
    return 0;
}

LRESULT GetSelection(const EditState& s) {
    return MAKELONG(static_cast<WORD>(SelStart(s)), static_cast<WORD>(SelEnd(s)));
}

LRESULT OnChar(HWND window, EditState& s, WPARAM ch) {
    if (ch >= 0x20) TypeCharacter(window, s, static_cast<char16_t>(ch));
    return 0;
}

LRESULT OnKey(HWND window, EditState& s, WPARAM key, LPARAM flags) {
    Key(window, s, key, flags);
    return 0;
}

LRESULT OnTap(HWND window, EditState& s, LPARAM point) {
    SetFocus(window);
    int column = 0, row = 0;
    TapCell(point, column, row);
    MoveCaret(s, static_cast<std::size_t>(std::max(0, s.scroll + column)), false);
    return 0;
}

LRESULT Notify(HWND window, WORD code) {
    NotifyParent(window, code);
    return 0;
}

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window);
    EditState* s = StateOf<EditState>(window);
    if (!s) return ControlDefault(window, message, wParam, lParam);
    switch (message) {
        case WM_SETTEXT: return OnSetText(*s, lParam);
        case WM_GETTEXT: return CopyTextOut(s->text, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(s->text.size());
        case EM_LIMITTEXT: return LimitText(*s, wParam);
        case EM_GETLIMITTEXT: return static_cast<LRESULT>(s->limit);
        case EM_SETSEL: return SetSelection(*s, wParam, lParam);
        case EM_GETSEL: return GetSelection(*s);
        case WM_CHAR: return OnChar(window, *s, wParam);
        case WM_KEYDOWN: return OnKey(window, *s, wParam, lParam);
        case WM_LBUTTONDOWN: return OnTap(window, *s, lParam);
        case WM_SETFOCUS: return Notify(window, EN_SETFOCUS);
        case WM_KILLFOCUS: return Notify(window, EN_KILLFOCUS);
        default: return ControlDefault(window, message, wParam, lParam);
    }
}

void DrawEdit(HWND window, CellGrid& grid, const CellRect& b) {
    EditState* s = StateOf<EditState>(window);
    grid.Fill({b.left, b.top, b.right, b.top + 1}, kFieldCell);
    if (!s) return;
    const int width = std::max(1, b.right - b.left);
    // Scroll so that the caret stays in view.
    const int caret = static_cast<int>(s->caret);
    if (caret < s->scroll) s->scroll = caret;
    if (caret >= s->scroll + width) s->scroll = caret - width + 1;
    const int shown = std::min<int>(width, static_cast<int>(s->text.size()) - s->scroll);
    int left = b.left;
    if ((FindWindowData(window)->style & ES_RIGHT) && s->scroll == 0 && shown < width) {
        left = b.right - shown - 1;
    }
    for (int i = 0; i < shown; ++i) {
        const auto index = static_cast<std::size_t>(s->scroll + i);
        Cell cell = kFieldCell;
        cell.ch = s->text[index];
        if (index >= SelStart(*s) && index < SelEnd(*s))
            cell = {cell.ch, Color::white, Color::blue, true};
        grid.Set(left + i, b.top, cell);
    }
    if (HasFocus(window)) {
        Cell mark = kFocusCell;
        const int column = left + caret - s->scroll;
        mark.ch = caret < static_cast<int>(s->text.size()) ? s->text[s->caret] : u' ';
        grid.Set(std::min(column, b.right - 1), b.top, mark);
    }
}

}  // namespace

void SetUpDownPartner(HWND edit, HWND upDown) {
    if (EditState* s = StateOf<EditState>(edit)) s->upDown = upDown;
}

void RegisterEditClass() {
    RegisterBuiltinClass(u"Edit", EditProc, DrawEdit);
}

}  // namespace platform::detail
