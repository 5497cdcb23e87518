// The up-down control: a position within a range, shown in its buddy (the control before
// it, with UDS_AUTOBUDDY) as decimal text. Its arrows, and Up and Down in the buddy, step it.
// Not supported: acceleration, horizontal arrows set by style, wrapping round.
#include <algorithm>
#include <string>

#include "comctl32/controls_internal.h"
#include "platform/user32/dialogs.h"
#include "winsys/draw.h"

namespace platform::detail {
namespace {

struct UpDownState : ControlState {
    int low = 0;
    int high = 100;
    int position = 0;
    HWND buddy = nullptr;
};

bool SetsBuddy(HWND window) {
    return (FindWindowData(window)->style & UDS_SETBUDDYINT) != 0;
}

// The position, as the buddy's text says when the up-down writes it there.
int CurrentPosition(HWND window, UpDownState& s) {
    if (SetsBuddy(window) && IsWindow(s.buddy)) {
        char16_t text[32] = {};
        GetWindowTextW(s.buddy, text, 32);
        long long value = 0;
        bool digits = false;
        for (char16_t* c = text; *c >= u'0' && *c <= u'9' && value < 1000000000; ++c) {
            value = value * 10 + (*c - u'0');
            digits = true;
        }
        if (digits) s.position = static_cast<int>(value);
    }
    return std::clamp(s.position, std::min(s.low, s.high), std::max(s.low, s.high));
}

void SetPosition(HWND window, UpDownState& s, int position) {
    s.position = std::clamp(position, std::min(s.low, s.high), std::max(s.low, s.high));
    if (SetsBuddy(window) && IsWindow(s.buddy)) {
        const std::string digits = std::to_string(s.position);  // no thousands separators
        SetWindowTextW(s.buddy, std::u16string(digits.begin(), digits.end()).c_str());
    }
}

void Step(HWND window, UpDownState& s, int delta) {
    SetPosition(window, s, CurrentPosition(window, s) + delta);
}

void TakeBuddy(HWND window, UpDownState& s, HWND buddy) {
    s.buddy = buddy;
    SetUpDownPartner(buddy, window);
}

HWND ControlBefore(HWND window) {
    const WindowData* parent = FindWindowData(GetParent(window));
    if (!parent) return nullptr;
    const auto& c = parent->children;
    const auto it = std::find(c.begin(), c.end(), window);
    return it == c.begin() || it == c.end() ? nullptr : *(it - 1);
}

LRESULT OnCreate(HWND window) {
    UpDownState* s = CreateState<UpDownState>(window);
    if (FindWindowData(window)->style & UDS_AUTOBUDDY) TakeBuddy(window, *s, ControlBefore(window));
    return 0;
}

LRESULT SetRange(UpDownState& s, WPARAM low, LPARAM high) {
    s.low = static_cast<int>(low);
    s.high = static_cast<int>(high);
    s.position = std::clamp(s.position, std::min(s.low, s.high), std::max(s.low, s.high));
    return 0;
}

LRESULT GetRange(const UpDownState& s, WPARAM low, LPARAM high) {
    if (low) *reinterpret_cast<int*>(low) = s.low;
    if (high) *reinterpret_cast<int*>(high) = s.high;
    return 0;
}

LRESULT SetPos(HWND window, UpDownState& s, LPARAM position) {
    const int old = s.position;
    SetPosition(window, s, static_cast<int>(position));
    return old;
}

LRESULT SetBuddy(HWND window, UpDownState& s, WPARAM buddy) {
    const HWND old = s.buddy;
    TakeBuddy(window, s, reinterpret_cast<HWND>(buddy));
    return reinterpret_cast<LRESULT>(old);
}

LRESULT OnStep(HWND window, UpDownState& s, WPARAM delta) {
    Step(window, s, static_cast<int>(static_cast<std::intptr_t>(delta)));
    return 0;
}

// The left arrow counts up, the right one down.
LRESULT OnTap(HWND window, UpDownState& s, LPARAM point) {
    int column = 0, row = 0;
    TapCell(point, column, row);
    Step(window, s, column == 0 ? 1 : -1);
    return 0;
}

LRESULT UpDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window);
    UpDownState* s = StateOf<UpDownState>(window);
    if (!s) return ControlDefault(window, message, wParam, lParam);
    switch (message) {
        case UDM_SETRANGE32: return SetRange(*s, wParam, lParam);
        case UDM_GETRANGE32: return GetRange(*s, wParam, lParam);
        case UDM_SETPOS32: return SetPos(window, *s, lParam);
        case UDM_GETPOS32: return CurrentPosition(window, *s);
        case UDM_SETBUDDY: return SetBuddy(window, *s, wParam);
        case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(s->buddy);
        case kUpDownStep: return OnStep(window, *s, wParam);
        case WM_LBUTTONDOWN: return OnTap(window, *s, lParam);
        default: return ControlDefault(window, message, wParam, lParam);
    }
}

void DrawUpDown(HWND, CellGrid& grid, const CellRect& b) {
    grid.Fill(b, kPlain);
    grid.Text(b.left, b.top, u"\u25B2\u25BC", kFieldCell, b.right);
}

}  // namespace

void RegisterUpDownClass() {
    RegisterBuiltinClass(UPDOWN_CLASSW, UpDownProc, DrawUpDown);
}

}  // namespace platform::detail
