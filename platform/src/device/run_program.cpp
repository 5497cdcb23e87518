
#include "host/device.h"
#include "winsys/instance_channel.h"
#include "platform/host/run_program.h"
#include "device/terminal_screen.h"
#include "winsys/window_system.h"

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
