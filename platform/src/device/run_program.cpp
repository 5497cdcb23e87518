#include "platform/host/run_program.h"

#include "device/desktop.h"
#include "device/terminal_device.h"
#include "host/device.h"
#include "platform/user32/resources.h"
#include "platform/user32/window.h"

namespace platform {

int RunProgram(const ResourceTable& resources, WinMainProc winMain) {
    // The terminal is opened on first use, so that a second viewer that only finds the
    // first never takes it over.
    detail::SetDeviceFactory(detail::OpenTerminalDevice);
    detail::OpenDesktop();
    const HINSTANCE instance = RegisterModule(&resources);
    char16_t commandLine[] = u"";
    const int code = winMain(instance, nullptr, commandLine, SW_SHOW);
    detail::CloseDesktop();
    detail::CloseOwnedDevice();  // the terminal is itself again
    return detail::TerminalRefused() ? 1 : code;
}

}  // namespace platform
