// A window's title and its long values (window.h).
#include "platform/user32/message_loop.h"
#include "platform/user32/window.h"
#include "winsys/window_system.h"

using platform::detail::FindWindowData;

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!IsWindow(window)) return FALSE;
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) ? TRUE
                                                                                            : FALSE;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int capacity) {
    if (!IsWindow(window) || !buffer || capacity <= 0) return 0;
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    if (!IsWindow(window)) return 0;
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

namespace {

LONG_PTR* LongSlot(platform::detail::WindowData& data, int index) {
    switch (index) {
        case GWL_USERDATA: return &data.userData;
        case DWL_MSGRESULT: return &data.messageResult;
        default: return nullptr;
    }
}

}  // namespace

LONG_PTR GetWindowLongW(HWND window, int index) {
    auto* data = FindWindowData(window);
    if (!data) return 0;
    switch (index) {
        case GWL_STYLE: return static_cast<LONG_PTR>(data->style);
        case GWL_EXSTYLE: return static_cast<LONG_PTR>(data->exStyle);
        case GWL_ID: return data->id;
        default: const LONG_PTR* slot = LongSlot(*data, index); return slot ? *slot : 0;
    }
}

LONG_PTR SetWindowLongW(HWND window, int index, LONG_PTR value) {
    auto* data = FindWindowData(window);
    if (!data) return 0;
    const LONG_PTR old = GetWindowLongW(window, index);
    switch (index) {
        case GWL_STYLE: data->style = static_cast<DWORD>(value); return old;
        case GWL_EXSTYLE: data->exStyle = static_cast<DWORD>(value); return old;
        case GWL_ID: data->id = static_cast<int>(value); return old;
        default:
            if (LONG_PTR* slot = LongSlot(*data, index)) {
                *slot = value;
                return old;
            }
            return 0;
    }
}
