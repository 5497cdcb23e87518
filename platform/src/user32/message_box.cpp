#include "platform/user32/message_box.h"

#include <cstdio>

#include "host/device.h"
#include "platform/host/utf.h"
#include "user32/message_box_window.h"

namespace platform {
namespace {
MessageBoxHook currentHook;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxHook previous = currentHook;
    currentHook = hook;
    return previous;
}

}  // namespace platform

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    const platform::MessageBoxHook hook = platform::currentHook;
    if (hook.present) return hook.present(hook.context, owner, text, caption, type);
    if (platform::detail::CurrentDevice()) {
        return platform::detail::ShowMessageBoxWindow(owner, text, caption, type);
    }
    std::fprintf(stderr, "%s: %s\n", platform::ToUtf8(caption ? caption : u"").c_str(),
                 platform::ToUtf8(text ? text : u"").c_str());
    return (type & 0xF) == MB_OKCANCEL ? IDCANCEL : IDOK;
}
