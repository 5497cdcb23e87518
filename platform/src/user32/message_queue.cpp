// The message calls of message_loop.h, over the window system's queue.
#include <algorithm>

#include "platform/user32/message_loop.h"
#include "winsys/window_system.h"

namespace detail = platform::detail;

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return detail::Post(window, message, wParam, lParam) ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return detail::Send(window, message, wParam, lParam);
}

BOOL GetMessageW(MSG* msg, HWND, UINT, UINT) {
    if (!msg) return FALSE;
    return detail::NextMessage(*msg) ? TRUE : FALSE;
}

BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (!msg) return FALSE;
    return detail::PeekMessage(*msg, remove == PM_REMOVE) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    return msg && detail::Translate(*msg) ? TRUE : FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    return msg ? detail::Dispatch(*msg) : 0;
}

void PostQuitMessage(int exitCode) {
    detail::PostQuit(exitCode);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = detail::FindWindowData(window);
    if (!data) return 0;
    switch (message) {
        case WM_CLOSE: detail::Destroy(window); return 0;
        case WM_SETTEXT:
            data->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
            data->needsPaint = true;
            return TRUE;
        case WM_GETTEXT: return detail::CopyTextOut(data->text, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(data->text.size());
        default: return 0;
    }
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC proc) {
    if (!IsWindow(window)) return 0;
    auto& timers = detail::Windows().timers;
    const std::int64_t due = detail::Now() + milliseconds;
    for (auto& timer : timers) {
        if (timer.window == window && timer.id == id) {
            timer.period = milliseconds;
            timer.due = due;
            timer.proc = proc;
            return id;
        }
    }
    timers.push_back({window, id, milliseconds, due, false, proc});
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = detail::Windows().timers;
    const auto it = std::find_if(timers.begin(), timers.end(),
                                 [&](const auto& t) { return t.window == window && t.id == id; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

DWORD GetTickCount() {
    return static_cast<DWORD>(detail::Now());
}
