#include "shell/main_window.h"

#include "platform/user32/message_loop.h"
#include "resources/resource_ids.h"
#include "shell/app_state.h"
#include "shell/win_main.h"

namespace {

LRESULT OnCreate(HWND window) {
    menuBarWindow = CreateMainMenuBar(window);
    return 0;
}

LRESULT OnDestroy() {
    if (menuBarWindow) DestroyWindow(menuBarWindow);
    menuBarWindow = nullptr;
    PostQuitMessage(0);
    return 0;
}

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDM_CLOSE:
            SendMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy();
        case WM_COMMAND:
            return OnCommand(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
