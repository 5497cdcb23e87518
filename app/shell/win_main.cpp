#include "shell/win_main.h"

#include "platform/aygshell/shell.h"
#include "platform/user32/menus.h"
#include "platform/user32/message_box.h"
#include "platform/user32/message_loop.h"
#include "platform/user32/resources.h"
#include "resources/resource_ids.h"
#include "shell/app_state.h"
#include "shell/main_window.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
HWND menuBarWindow = nullptr;

namespace {

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM));
    wc.hbrBackground = GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassW(&wc) != 0;
}

// Leaves room for the menu bar. The window's coordinates serve as its size: with the window at
// left 0 and top 26 this keeps the size it was created with.
void FitAboveMenuBar(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    r.bottom -= kMenuBarHeight;
    MoveWindow(window, r.left, r.top, r.right, r.bottom, FALSE);
}

int RunMessageLoop(HACCEL accelerators) {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

HWND CreateMainMenuBar(HWND window) {
    SHMENUBARINFO info = {};
    info.cbSize = 32;
    info.hwndParent = window;
    info.nToolBarId = IDR_MAIN_MENU;
    info.hInstRes = appInstance;
    if (!SHCreateMenuBar(&info)) {
        MessageBoxW(mainWindow, u"Could not create menubar", u"ERROR", MB_OK);
        return nullptr;
    }
    return info.hwndMB;
}

int WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    appInstance = instance;
    char16_t className[kTextBufferCapacity];
    char16_t title[kTextBufferCapacity];
    LoadStringW(instance, IDS_APP_CLASS, className, kTextBufferCapacity);
    LoadStringW(instance, IDS_APP_TITLE, title, kTextBufferCapacity);

    mainWindow = FindWindowW(className, title);
    if (mainWindow) {
        // The lowest bit brings the window's open dialog along.
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(mainWindow) | 1));
        return 0;
    }
    if (!RegisterMainWindowClass(instance)) return 0;
    const HWND window = CreateWindowExW(WS_EX_CAPTIONOKBTN, className, title, WS_VISIBLE,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    mainWindow = window;
    if (menuBarWindow) FitAboveMenuBar(window);
    const HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ShowWindow(window, show);
    UpdateWindow(window);
    return RunMessageLoop(accelerators);
}
