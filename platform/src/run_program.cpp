
#include "device.h"
#include "instance_channel.h"
#include "platform/device.h"
#include "terminal_screen.h"
#include "window_system.h"

namespace platform {

int RunProgram(const ResourceTable& resources, WinMainProc winMain) {
    const HINSTANCE instance = RegisterModule(&resources);
    detail::SetDeviceFactory(detail::OpenTerminalDevice);
    char16_t commandLine[] = u"";
    const int code = winMain(instance, nullptr, commandLine, SW_SHOW);
    detail::ResetWindowSystem();
    detail::StopInstanceChannel();
    detail::CloseOwnedDevice();  // the terminal is itself again
    return code;
}

}  // namespace platform
