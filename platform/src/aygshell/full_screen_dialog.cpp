// Full-screen dialogs (SHInitDialog): the dialog fills the screen under the navigation bar,
// which shows its title and, with SHIDIF_DONEBUTTON, a Done button that sends command 1.
#include "platform/aygshell/shell.h"
#include "winsys/window_system.h"

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (!info) return FALSE;
    auto* data = platform::detail::FindWindowData(info->hDlg);
    if (!data) return FALSE;
    if (info->dwMask & SHIDIM_FLAGS) {
        data->doneButton = (info->dwFlags & SHIDIF_DONEBUTTON) != 0;
        if (info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)) {
            data->dock = platform::detail::Dock::fullScreen;
            platform::detail::Place(info->hDlg, platform::detail::DockRect(data->dock));
        }
    }
    return TRUE;
}
