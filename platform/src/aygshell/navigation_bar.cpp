// The navigation bar is a window of its own above all others. It speaks for the innermost
// modal dialog or message box that is up, else for the foreground window (popups do not
// count): it shows that window's navigation-bar title (or its window text) and, when it has
// WS_EX_CAPTIONOKBTN or a full-screen dialog's Done button, "[ok]" at the right, which a tap
// turns into command 1 (IDOK) for it; "busy – Esc cancels" before it while the program waits
// on the network.
#include "aygshell/navigation_bar.h"

#include <string>
#include <string_view>

#include "platform/aygshell/shell.h"
#include "platform/user32/message_box.h"
#include "platform/user32/message_loop.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

constexpr const char16_t* kNavigationBarClass = u"navigation_bar";
constexpr Cell kBarCell{u' ', Color::white, Color::blue, true};
constexpr int kOkButtonCells = 5;
// While the program waits on the network; Esc ends the wait. A narrow bar keeps the title.
constexpr std::u16string_view kBusyMark = u"busy \u2013 Esc cancels";
constexpr std::u16string_view kShortBusyMark = u"busy";
constexpr int kTitleRoomCells = 16;

HWND NavigationWindow() {
    const auto& ws = Windows();
    for (auto it = ws.modalStack.rbegin(); it != ws.modalStack.rend(); ++it) {
        const WindowData* data = FindWindowData(*it);
        if (data && !data->popup) return *it;
    }
    return ws.foreground;
}

bool HasOkButton(HWND window) {
    const WindowData* data = FindWindowData(window);
    return data && ((data->exStyle & WS_EX_CAPTIONOKBTN) || data->doneButton);
}

int OkButtonColumn(int columns) {
    return columns - kOkButtonCells;
}

std::u16string NavigationTitle(HWND window) {
    const WindowData* data = FindWindowData(window);
    if (!data) return u"";
    return data->hasNavTitle ? data->navTitle : data->text;
}

LRESULT OnTap(LPARAM point) {
    const HWND target = NavigationWindow();
    const int column = PixelToColumn(static_cast<short>(LOWORD(point)));
    if (HasOkButton(target) && column >= OkButtonColumn(ScreenWidth() / kCellWidth))
        PostMessageW(target, WM_COMMAND, IDOK, 0);
    return 0;
}

LRESULT OnOkKey() {
    const HWND target = NavigationWindow();
    if (!HasOkButton(target)) return 0;
    PostMessageW(target, WM_COMMAND, IDOK, 0);
    return 1;
}

LRESULT NavigationBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: return OnTap(lParam);
        case kNavigationOkKey: return OnOkKey();
        default: return DefWindowProcW(bar, message, wParam, lParam);
    }
}

void DrawNavigationBar(HWND, CellGrid& grid, const CellRect& b) {
    grid.Fill(b, kBarCell);
    const HWND target = NavigationWindow();
    const int okColumn = b.left + OkButtonColumn(b.right - b.left);
    const bool busy = Windows().busy;
    const bool roomy = okColumn - b.left > static_cast<int>(kBusyMark.size()) + kTitleRoomCells;
    const std::u16string_view mark = roomy ? kBusyMark : kShortBusyMark;
    const int markCells = static_cast<int>(mark.size());
    const int titleEnd = okColumn - (busy ? markCells + 2 : 1);
    grid.Text(b.left + 1, b.top, NavigationTitle(target), kBarCell, titleEnd);
    if (HasOkButton(target)) grid.Text(okColumn, b.top, u"[ok]", kBarCell, b.right);
    // Letters, not a symbol: terminals draw an hourglass two cells wide.
    if (busy)
        grid.Text(okColumn - markCells - 1, b.top, std::u16string(mark), kBarCell, okColumn - 1);
}

}  // namespace

HWND CreateNavigationBar() {
    RegisterBuiltinClass(kNavigationBarClass, NavigationBarProc, DrawNavigationBar);
    // Created hidden and shown by hand: the bar never takes the foreground.
    const HWND bar = CreateWindowExW(0, kNavigationBarClass, u"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                     nullptr, nullptr);
    WindowData* data = FindWindowData(bar);
    if (!data) return nullptr;
    data->dock = Dock::top;
    data->topmost = true;
    data->style |= WS_VISIBLE;
    return bar;
}

}  // namespace platform::detail

BOOL SHSetNavBarText(HWND window, LPCWSTR text) {
    auto* data = platform::detail::FindWindowData(window);
    if (!data) return FALSE;
    data->navTitle = text ? text : u"";
    data->hasNavTitle = true;
    return TRUE;
}
