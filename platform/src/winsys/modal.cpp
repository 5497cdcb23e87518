#include <algorithm>

#include "winsys/window_system.h"

namespace platform::detail {

void RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(MSG&)>& filter) {
    auto& stack = Windows().modalStack;
    stack.push_back(window);
    MSG msg{};
    while (IsWindow(window) && !done()) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            // The outer loop must see the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (filter && filter(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    stack.erase(std::remove(stack.begin(), stack.end(), window), stack.end());
}

bool RunPopupWindow(HWND popup, const std::function<bool()>& done) {
    WindowData* data = FindWindowData(popup);
    if (!data) return false;
    data->style |= WS_VISIBLE;
    auto& ws = Windows();
    const HWND previousFocus = ws.focus;
    ws.focus = popup;
    RunModalLoop(popup, done);
    if (ws.focus == popup || !IsWindow(ws.focus))
        ws.focus = IsWindow(previousFocus) ? previousFocus : nullptr;
    return IsWindow(popup) != FALSE;
}

}  // namespace platform::detail
