// Modal dialogs from the program's templates, and the dialog keys: Tab and Shift+Tab move
// the focus among the tab stops, Enter presses the default button, Esc the button with id 2
// (or else the one captioned "Cancel"), Alt with a mnemonic presses that button.
#include <algorithm>

#include "host/ascii.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/resources.h"
#include "winsys/draw.h"
#include "winsys/modal.h"

namespace platform::detail {
namespace {

constexpr const char16_t* kDialogClass = u"#32770";

struct DialogState : ControlState {
    DLGPROC proc = nullptr;
    bool ended = false;
    INT_PTR result = 0;
};

LRESULT DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogState* s = StateOf<DialogState>(dialog);
    if (s && s->proc) {
        const INT_PTR handled = s->proc(dialog, message, wParam, lParam);
        if (message == WM_INITDIALOG) return handled;
        if (handled) return GetWindowLongW(dialog, DWL_MSGRESULT);
    }
    return DefWindowProcW(dialog, message, wParam, lParam);
}

void DrawDialog(HWND dialog, CellGrid& grid, const CellRect& b) {
    DrawFrame(grid, b, kPlain);
    // As the title bar: it stands out in every palette, and in reverse video without colour.
    const Cell title{u' ', Color::white, Color::blue, true};
    DrawCentred(grid, b.left + 1, b.right - 1, b.top, u" " + FindWindowData(dialog)->text + u" ",
                title);
}

bool IsTabStop(HWND control) {
    const WindowData* d = FindWindowData(control);
    // The control's own visibility: the dialog itself is still hidden while it starts.
    return d && (d->style & WS_TABSTOP) && (d->style & WS_VISIBLE) && IsWindowEnabled(control);
}

std::vector<HWND> TabStops(HWND dialog) {
    std::vector<HWND> stops;
    for (HWND c : FindWindowData(dialog)->children) {
        if (IsTabStop(c)) stops.push_back(c);
    }
    return stops;
}

bool IsButtonOfType(HWND control, bool (*test)(DWORD)) {
    const WindowData* d = FindWindowData(control);
    return d && d->cls->name == u"Button" && test(d->style & BS_TYPEMASK);
}

bool IsPush(DWORD type) {
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}
bool IsDefault(DWORD type) {
    return type == BS_DEFPUSHBUTTON;
}

void PressButton(HWND dialog, HWND button) {
    SendMessageW(dialog, WM_COMMAND, MAKELONG(static_cast<WORD>(GetDlgCtrlID(button)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

HWND CancelButton(HWND dialog) {
    for (HWND c : FindWindowData(dialog)->children) {
        if (IsButtonOfType(c, IsPush) && GetDlgCtrlID(c) == IDCANCEL) return c;
    }
    for (HWND c : FindWindowData(dialog)->children) {
        const std::u16string& text = FindWindowData(c)->text;
        if (IsButtonOfType(c, IsPush) && (text == u"Cancel" || text == u"&Cancel")) return c;
    }
    return nullptr;
}

HWND MnemonicButton(HWND dialog, WORD key) {
    for (HWND c : FindWindowData(dialog)->children) {
        char16_t mnemonic = 0;
        StripMnemonic(FindWindowData(c)->text, &mnemonic);
        if (mnemonic && AsciiUpper(mnemonic) == key && FindWindowData(c)->cls->name == u"Button")
            return c;
    }
    return nullptr;
}

void MoveFocus(HWND dialog, bool backwards) {
    const std::vector<HWND> stops = TabStops(dialog);
    if (stops.empty()) return;
    const auto it = std::find(stops.begin(), stops.end(), GetFocus());
    const int count = static_cast<int>(stops.size());
    int index = it == stops.end()
                    ? (backwards ? count - 1 : 0)
                    : (static_cast<int>(it - stops.begin()) + (backwards ? -1 : 1) + count) % count;
    SetFocus(stops[index]);
    KeepFocusInView(dialog);
}

// The keys a dialog takes before its controls see them.
bool DialogKey(HWND dialog, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !IsWithin(msg.hwnd, dialog)) return false;
    const bool shift = (msg.lParam & KF_SHIFT_STATE) != 0;
    const bool alt = (msg.lParam & KF_ALT_STATE) != 0;
    const HWND focus = GetFocus();
    switch (msg.wParam) {
        case VK_TAB: MoveFocus(dialog, shift); return true;
        case VK_RETURN: {
            if (IsButtonOfType(focus, IsPush)) {
                PressButton(dialog, focus);
                return true;
            }
            for (HWND c : FindWindowData(dialog)->children) {
                if (IsButtonOfType(c, IsDefault)) {
                    PressButton(dialog, c);
                    return true;
                }
            }
            // No default button: the dialog still gets its OK, as Windows' dialog manager gives it.
            SendMessageW(dialog, WM_COMMAND, MAKELONG(IDOK, BN_CLICKED), 0);
            return true;
        }
        case VK_ESCAPE:
            if (const HWND cancel = CancelButton(dialog)) {
                PressButton(dialog, cancel);
            } else {
                SendMessageW(dialog, WM_COMMAND, MAKELONG(IDCANCEL, BN_CLICKED), 0);
            }
            return true;
        default:
            if (alt && msg.wParam != VK_DOWN && msg.wParam != VK_UP) {
                if (const HWND button = MnemonicButton(dialog, static_cast<WORD>(msg.wParam))) {
                    SendMessageW(button, BM_CLICK, 0, 0);
                    return true;
                }
            }
            return false;
    }
}

RECT DialogRect(const DialogResource& t) {
    // Whole cells, rounded up, and a frame cell on each side.
    const int width = ((t.cx + kDialogUnitsPerCellX - 1) / kDialogUnitsPerCellX + 2) * kCellWidth;
    const int height = ((t.cy + kDialogUnitsPerCellY - 1) / kDialogUnitsPerCellY + 2) * kCellHeight;
    const RECT desktop = DesktopRect();
    const int left = std::max<int>(0, (desktop.right - width) / 2 / kCellWidth * kCellWidth);
    const int top =
        std::max<int>(desktop.top, desktop.top + (desktop.bottom - desktop.top - height) / 2 /
                                                     kCellHeight * kCellHeight);
    return {left, top, left + width, top + height};
}

// A control's rectangle in whole cells, its edges moved to the cell edges they fall in: the
// cells a control is drawn in are exactly the ones a tap reaches it in. (Edges inside a cell
// once drew a control a row above the pixels that took its taps.) A label keeps its pixels:
// it takes no taps, and its text may run into the cell its last pixels reach.
RECT ControlRect(const DialogItemResource& item) {
    const int left = DialogUnitsToPixelsX(item.x) + kCellWidth;
    const int top = DialogUnitsToPixelsY(item.y) + kCellHeight;
    RECT r{left, top, left + DialogUnitsToPixelsX(item.cx), top + DialogUnitsToPixelsY(item.cy)};
    if (std::u16string_view(item.className) == u"STATIC") return r;
    r.left = r.left / kCellWidth * kCellWidth;
    r.top = r.top / kCellHeight * kCellHeight;
    r.right = std::max<LONG>(r.right / kCellWidth * kCellWidth, r.left + kCellWidth);
    r.bottom = std::max<LONG>(r.bottom / kCellHeight * kCellHeight, r.top + kCellHeight);
    return r;
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogResource& t) {
    for (const DialogItemResource& item : t.items) {
        const RECT r = ControlRect(item);
        const HWND control = CreateWindowExW(
            item.exStyle, item.className, item.text ? item.text : u"", item.style | WS_CHILD,
            r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(item.id)), instance, nullptr);
        if (!control) return false;
    }
    return true;
}

// The dialog window with its controls, hidden; null when it cannot be made.
HWND BuildDialog(HINSTANCE instance, const DialogResource& t, HWND owner, DLGPROC proc) {
    RegisterBuiltinClass(kDialogClass, DialogProc, DrawDialog);
    const RECT r = DialogRect(t);
    const HWND dialog =
        CreateWindowExW(t.exStyle, kDialogClass, t.title, t.style & ~WS_VISIBLE, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, owner, nullptr, instance, nullptr);
    if (!dialog) return nullptr;
    CreateState<DialogState>(dialog)->proc = proc;
    if (!CreateControls(dialog, instance, t)) {
        DestroyWindow(dialog);
        return nullptr;
    }
    return dialog;
}

}  // namespace

}  // namespace platform::detail

using namespace platform::detail;

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner, DLGPROC proc, LPARAM param) {
    if (!IS_INTRESOURCE(name) || !proc) return -1;
    const auto* t = platform::FindDialogResource(
        instance, static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name)));
    if (!t) return -1;
    const HWND dialog = BuildDialog(instance, *t, owner, proc);
    if (!dialog) return -1;
    INT_PTR result = -1;
    {
        OwnedModal modal(owner);
        DialogState* s = StateOf<DialogState>(dialog);
        const std::vector<HWND> stops = TabStops(dialog);
        const HWND first = stops.empty() ? nullptr : stops.front();
        if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && first) {
            SetFocus(first);
        }
        if (!GetFocus() || !IsWithin(GetFocus(), dialog)) SetFocus(first ? first : dialog);
        KeepFocusInView(dialog);
        modal.Run(
            dialog, [s] { return s->ended; },
            [dialog](MSG& msg) { return DialogKey(dialog, msg); });
        if (IsWindow(dialog)) result = s->result;
        DestroyWindow(dialog);
    }
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* s = StateOf<DialogState>(dialog);
    if (!s) return FALSE;
    s->ended = true;
    s->result = result;
    return TRUE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int capacity) {
    if (buffer && capacity > 0) buffer[0] = 0;
    return static_cast<UINT>(GetWindowTextW(GetDlgItem(dialog, id), buffer, capacity));
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    return SetWindowTextW(GetDlgItem(dialog, id), text);
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetDlgItem(dialog, id), message, wParam, lParam);
}
