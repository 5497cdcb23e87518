#include "device/desktop.h"

#include "aygshell/navigation_bar.h"
#include "comctl32/controls_internal.h"
#include "winsys/instance_channel.h"
#include "winsys/window_system.h"

namespace platform::detail {

void OpenDesktop() {
    RegisterControlClasses();
    CreateNavigationBar();
}

void CloseDesktop() {
    ResetWindowSystem();
    StopInstanceChannel();
}

}  // namespace platform::detail
