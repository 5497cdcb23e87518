// The foreground window, the focus, and finding windows, also those of the viewer running in
// another process on the same device (window.h).
#include "platform/user32/window.h"
#include "winsys/instance_channel.h"
#include "winsys/window_system.h"

using platform::detail::FindWindowData;
using platform::detail::Windows;

HWND GetForegroundWindow() {
    return Windows().foreground;
}

HWND GetActiveWindow() {
    return Windows().foreground;
}

BOOL SetForegroundWindow(HWND window) {
    // The lowest bit asks for the owned windows too; they always come along here.
    const HWND plain =
        reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(window) & ~std::uintptr_t{1});
    if (platform::detail::IsRemoteWindow(plain)) return platform::detail::BringRemoteToFront(plain);
    return platform::detail::BringToFront(plain) ? TRUE : FALSE;
}

HWND SetFocus(HWND window) {
    return platform::detail::MoveFocus(window);
}

HWND GetFocus() {
    return Windows().focus;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR title) {
    for (HWND top : Windows().topLevels) {
        const auto* data = FindWindowData(top);
        if (!data || data->destroying) continue;
        if ((!className || data->cls->name == className) && (!title || data->text == title)) {
            return top;
        }
    }
    return platform::detail::FindRemoteWindow(className, title);
}
