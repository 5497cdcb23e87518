#include "platform/user32/message_box.h"

#include <cstdio>

#include "host/device.h"
#include "platform/host/utf.h"
#include "user32/message_box_window.h"
#include "winsys/renderer.h"
#include "winsys/window_system.h"

namespace platform {
namespace {

MessageBoxHook currentHook;

// A message box waits on its user, not on the network: the busy mark goes while it is up (a
// failed download's message would otherwise sit under "busy" and "Downloading…").
class BusyPause {
public:
    BusyPause() : was_(detail::Windows().busy) {
        if (was_) detail::SetBusy(false);
    }
    ~BusyPause() { detail::Windows().busy = was_; }
    BusyPause(const BusyPause&) = delete;
    BusyPause& operator=(const BusyPause&) = delete;

private:
    const bool was_;
};

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxHook previous = currentHook;
    currentHook = hook;
    return previous;
}

}  // namespace platform

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    const platform::BusyPause pause;
    const platform::MessageBoxHook hook = platform::currentHook;
    if (hook.present) return hook.present(hook.context, owner, text, caption, type);
    if (platform::detail::CurrentDevice()) {
        return platform::detail::ShowMessageBoxWindow(owner, text, caption, type);
    }
    std::fprintf(stderr, "%s: %s\n", platform::ToUtf8(caption ? caption : u"").c_str(),
                 platform::ToUtf8(text ? text : u"").c_str());
    return (type & 0xF) == MB_OKCANCEL ? IDCANCEL : IDOK;
}
