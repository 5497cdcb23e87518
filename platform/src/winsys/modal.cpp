#include "winsys/modal.h"

#include <algorithm>

namespace platform::detail {

void RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(MSG&)>& filter) {
    auto& stack = Windows().modalStack;
    stack.push_back(window);
    MSG msg{};
    while (FindWindowData(window) && !done()) {
        if (!NextMessage(msg)) {
            // The outer loop must see the quit too.
            PostQuit(static_cast<int>(msg.wParam));
            break;
        }
        if (filter && filter(msg)) continue;
        Translate(msg);
        Dispatch(msg);
    }
    stack.erase(std::remove(stack.begin(), stack.end(), window), stack.end());
}

bool RunPopupWindow(HWND popup, const std::function<bool()>& done) {
    WindowData* data = FindWindowData(popup);
    if (!data) return false;
    data->style |= WS_VISIBLE;
    data->popup = true;
    auto& ws = Windows();
    const HWND previousFocus = ws.focus;
    ws.focus = popup;
    RunModalLoop(popup, done);
    if (ws.focus == popup || !FindWindowData(ws.focus))
        ws.focus = FindWindowData(previousFocus) ? previousFocus : nullptr;
    return FindWindowData(popup) != nullptr;
}

OwnedModal::OwnedModal(HWND owner) : previousForeground_(Windows().foreground) {
    const HWND top = TopLevelOf(owner);
    if (FindWindowData(top) && IsEnabled(top)) {
        Enable(top, false);
        disabledOwner_ = top;
    }
}

OwnedModal::~OwnedModal() {
    if (disabledOwner_) Enable(disabledOwner_, true);
    if (FindWindowData(previousForeground_)) BringToFront(previousForeground_);
}

void OwnedModal::Run(HWND window, const std::function<bool()>& done,
                     const std::function<bool(MSG&)>& filter) {
    WindowData* data = FindWindowData(window);
    if (!data) return;
    data->style |= WS_VISIBLE;
    data->needsPaint = true;
    if (!data->parent) Activate(window);
    RunModalLoop(window, done, filter);
}

}  // namespace platform::detail
