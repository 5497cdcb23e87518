// The queue, the loop calls and the timers of message_loop.h.
#include <algorithm>
#include <cstring>

#include "host/device.h"
#include "winsys/input.h"
#include "winsys/instance_channel.h"
#include "platform/user32/message_loop.h"
#include "winsys/window_system.h"

using platform::detail::FindWindowData;
using platform::detail::Windows;

namespace {

std::int64_t Now() {
    auto* device = platform::detail::CurrentDevice();
    return device ? device->NowMs() : 0;
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto& ws = Windows();
    return {window, message, wParam, lParam, static_cast<DWORD>(Now()), ws.cursor};
}

// A due timer without a pending message becomes a WM_TIMER message.
bool TakeDueTimer(MSG& msg) {
    const std::int64_t now = Now();
    for (auto& timer : Windows().timers) {
        if (timer.pending || timer.due > now) continue;
        timer.pending = true;
        timer.due = now + timer.period;
        msg = MakeMessage(timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.proc));
        return true;
    }
    return false;
}

std::int64_t NextTimerDeadline() {
    std::int64_t next = -1;
    for (const auto& timer : Windows().timers) {
        if (!timer.pending && (next < 0 || timer.due < next)) next = timer.due;
    }
    return next;
}

// An application window that was invalidated gets WM_PAINT when nothing else is waiting.
bool TakePaint(MSG& msg) {
    for (const auto& [handle, data] : Windows().windows) {
        if (data->needsPaint && !data->destroying && !data->cls->draw &&
            IsWindowVisible(data->handle)) {
            data->needsPaint = false;
            msg = MakeMessage(data->handle, WM_PAINT, 0, 0);
            return true;
        }
    }
    return false;
}

bool TakeQueued(MSG& msg, bool remove) {
    auto& queue = Windows().queue;
    if (queue.empty()) return false;
    msg = queue.front();
    if (remove) queue.pop_front();
    return true;
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsWindow(window)) return FALSE;
    Windows().queue.push_back(MakeMessage(window, message, wParam, lParam));
    return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* data = FindWindowData(window);
    if (!data || !data->proc) return 0;
    // No exception crosses a window procedure: one that escapes (memory running out inside
    // a control) ends that message, not the program.
    try {
        return data->proc(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

BOOL GetMessageW(MSG* msg, HWND, UINT, UINT) {
    if (!msg) return FALSE;
    for (;;) {
        platform::detail::ServeInstanceRequests();
        if (TakeQueued(*msg, true) || TakeDueTimer(*msg) || TakePaint(*msg)) {
            return msg->message == WM_QUIT ? FALSE : TRUE;
        }
        auto* device = platform::detail::CurrentDevice();
        if (!device) {
            *msg = MakeMessage(nullptr, WM_QUIT, 0, 0);
            return FALSE;
        }
        auto& ws = Windows();
        platform::detail::Render(ws.grid);
        device->Present(ws.grid);
        platform::detail::DeliverInput(
            device->Wait(NextTimerDeadline(), platform::detail::InstanceChannelFd()));
    }
}

BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (!msg) return FALSE;
    if (TakeQueued(*msg, remove == PM_REMOVE)) return TRUE;
    return remove == PM_REMOVE && TakeDueTimer(*msg) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    // Our device carries the typed character in the low word of a key message.
    const auto ch = static_cast<char16_t>(msg->lParam & 0xFFFF);
    if (ch == 0 || (msg->lParam & (KF_CONTROL_STATE | KF_ALT_STATE))) return FALSE;
    Windows().queue.push_front(MakeMessage(msg->hwnd, WM_CHAR, ch, msg->lParam));
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg || !IsWindow(msg->hwnd)) return 0;
    if (msg->message == WM_TIMER) {
        auto& timers = Windows().timers;
        const auto it = std::find_if(timers.begin(), timers.end(), [&](const auto& t) {
            return t.window == msg->hwnd && t.id == msg->wParam;
        });
        if (it == timers.end() || !it->pending) return 0;  // killed since it was due
        it->pending = false;
        if (it->proc) {
            it->proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
            return 0;
        }
    }
    return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
    Windows().queue.push_back(MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0));
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = FindWindowData(window);
    if (!data) return 0;
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SETTEXT:
            data->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
            data->needsPaint = true;
            return TRUE;
        case WM_GETTEXT:
            return platform::detail::CopyTextOut(data->text, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(data->text.size());
        default:
            return 0;
    }
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC proc) {
    if (!IsWindow(window)) return 0;
    auto& timers = Windows().timers;
    const std::int64_t due = Now() + milliseconds;
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
    auto& timers = Windows().timers;
    const auto it = std::find_if(timers.begin(), timers.end(),
                                 [&](const auto& t) { return t.window == window && t.id == id; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

DWORD GetTickCount() {
    return static_cast<DWORD>(Now());
}
