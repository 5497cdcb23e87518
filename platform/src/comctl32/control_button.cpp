// Push buttons, default push buttons and automatic check boxes. A tap, Space or BM_CLICK
// presses one: it tells its parent BN_CLICKED (a check box toggles first).
// Not supported: radio buttons, three-state boxes, owner drawing, images.
#include "comctl32/controls_internal.h"
#include "platform/user32/dialogs.h"
#include "winsys/draw.h"

namespace platform::detail {
namespace {

struct ButtonState : ControlState {
    bool checked = false;
};

bool IsCheckBox(HWND window) {
    const DWORD type = FindWindowData(window)->style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

void Press(HWND window) {
    ButtonState* s = StateOf<ButtonState>(window);
    if (!s) return;
    if ((FindWindowData(window)->style & BS_TYPEMASK) == BS_AUTOCHECKBOX) s->checked = !s->checked;
    NotifyParent(window, BN_CLICKED);
}

LRESULT OnCreate(HWND window) {
    CreateState<ButtonState>(window);
    return 0;
}

LRESULT OnTap(HWND window) {
    if (!IsWindowEnabled(window)) return 0;
    SetFocus(window);
    Press(window);
    return 0;
}

LRESULT OnKey(HWND window, WPARAM key) {
    if (key == VK_SPACE) Press(window);
    return 0;
}

LRESULT Click(HWND window) {
    Press(window);
    return 0;
}

LRESULT GetCheck(HWND window) {
    const ButtonState* s = StateOf<ButtonState>(window);
    return s && s->checked ? BST_CHECKED : BST_UNCHECKED;
}

LRESULT SetCheck(HWND window, WPARAM state) {
    if (ButtonState* s = StateOf<ButtonState>(window)) s->checked = state == BST_CHECKED;
    return 0;
}

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(window);
        case WM_LBUTTONDOWN: return OnTap(window);
        case WM_KEYDOWN: return OnKey(window, wParam);
        case BM_CLICK: return Click(window);
        case BM_GETCHECK: return GetCheck(window);
        case BM_SETCHECK: return SetCheck(window, wParam);
        default: return ControlDefault(window, message, wParam, lParam);
    }
}

void DrawButton(HWND window, CellGrid& grid, const CellRect& b) {
    const WindowData* data = FindWindowData(window);
    const ButtonState* s = StateOf<ButtonState>(window);
    grid.Fill(b, kPlain);
    const Cell style = HasFocus(window) ? kFocusCell : kPlain;
    const CellRect clip = TextClip(window, {b.left, b.top, b.right, b.top + 1});
    grid.SetClip(clip);
    if (IsCheckBox(window)) {
        grid.Text(b.left, b.top, s && s->checked ? u"[x]" : u"[ ]", style, clip.right);
        DrawMnemonicText(grid, b.left + 4, b.top, data->text, kPlain, clip.right);
        return;
    }
    // The default button in blue: bold black reads as dark grey on many terminals, the look of
    // a button that does not work.
    Cell label = style;
    if ((data->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && !HasFocus(window))
        label.fg = Color::blue;
    const std::u16string plain = StripMnemonic(data->text);
    const int width = b.right - b.left;
    const int length = static_cast<int>(plain.size()) + 2;
    const int left = b.left + std::max(0, (width - length) / 2);
    grid.Text(left, b.top, u"[", label, clip.right);
    const int end = DrawMnemonicText(grid, left + 1, b.top, data->text, label, clip.right - 1);
    grid.Text(end, b.top, u"]", label, clip.right);
}

}  // namespace

void RegisterButtonClass() {
    RegisterBuiltinClass(u"Button", ButtonProc, DrawButton);
}

}  // namespace platform::detail
