// The queue, timers and dispatch under the message calls of message_loop.h.
#include <algorithm>

#include "host/device.h"
#include "winsys/input.h"
#include "winsys/instance_channel.h"
#include "winsys/renderer.h"
#include "winsys/window_system.h"

namespace platform::detail {
namespace {

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return {window, message, wParam, lParam, static_cast<DWORD>(Now()), Windows().cursor};
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
    const HWND window = Windows().windows.FindIf<HWND>([](const WindowData& data) {
        return data.needsPaint && !data.destroying && !data.cls->draw && IsVisible(data.handle);
    });
    if (!window) return false;
    FindWindowData(window)->needsPaint = false;
    msg = MakeMessage(window, WM_PAINT, 0, 0);
    return true;
}

bool TakeQueued(MSG& msg, bool remove) {
    auto& queue = Windows().queue;
    if (queue.empty()) return false;
    msg = queue.front();
    if (remove) queue.pop_front();
    return true;
}

}  // namespace

std::int64_t Now() {
    Device* device = CurrentDevice();
    return device ? device->NowMs() : 0;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowData* data = FindWindowData(window);
    if (!data || !data->proc) return 0;
    try {
        return data->proc(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !FindWindowData(window)) return false;
    Windows().queue.push_back(MakeMessage(window, message, wParam, lParam));
    return true;
}

void PostQuit(int exitCode) {
    Windows().queue.push_back(MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0));
}

void QuitWhenIdle() {
    Windows().quitWhenIdle = true;
}

namespace {

bool DeliverPendingQuit() {
    auto& ws = Windows();
    if (!ws.quitWhenIdle || !ws.modalStack.empty()) return false;
    ws.quitWhenIdle = false;
    InputEvent ctrlQ;
    ctrlQ.kind = InputEvent::Kind::key;
    ctrlQ.vk = 'Q';
    ctrlQ.ctrl = true;
    DeliverInput(ctrlQ);
    return true;
}

}  // namespace

bool NextMessage(MSG& msg) {
    for (;;) {
        ServeInstanceRequests();
        if (DeliverPendingQuit()) continue;
        if (TakeQueued(msg, true) || TakeDueTimer(msg) || TakePaint(msg)) {
            return msg.message != WM_QUIT;
        }
        Device* device = CurrentDevice();
        if (!device) {
            msg = MakeMessage(nullptr, WM_QUIT, 0, 0);
            return false;
        }
        auto& ws = Windows();
        Render(ws.grid);
        device->Present(ws.grid);
        DeliverInput(device->Wait(NextTimerDeadline(), InstanceChannelFd()));
    }
}

bool PeekMessage(MSG& msg, bool remove) {
    if (TakeQueued(msg, remove)) return true;
    return remove && TakeDueTimer(msg);
}

bool Translate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    // Our device carries the typed character in the low word of a key message.
    const auto ch = static_cast<char16_t>(msg.lParam & 0xFFFF);
    if (ch == 0 || (msg.lParam & (KF_CONTROL_STATE | KF_ALT_STATE))) return false;
    Windows().queue.push_front(MakeMessage(msg.hwnd, WM_CHAR, ch, msg.lParam));
    return true;
}

LRESULT Dispatch(const MSG& msg) {
    if (!FindWindowData(msg.hwnd)) return 0;
    if (msg.message == WM_TIMER) {
        auto& timers = Windows().timers;
        const auto it = std::find_if(timers.begin(), timers.end(), [&](const auto& t) {
            return t.window == msg.hwnd && t.id == msg.wParam;
        });
        if (it == timers.end() || !it->pending) return 0;  // killed since it was due
        it->pending = false;
        if (it->proc) {
            it->proc(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
            return 0;
        }
    }
    return Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

}  // namespace platform::detail
