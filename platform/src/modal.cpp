#include <algorithm>

#include "window_system.h"

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

}  // namespace platform::detail
