// Modal loops: nested message loops on the one thread. Every loop delivers due timers, and a
// WM_QUIT one of them sees is posted again for the loop outside it.
#pragma once

#include <functional>

#include "winsys/window_system.h"

namespace platform::detail {

// Runs a modal loop for `window` until `done` says so or the window goes. `filter` may take
// a message before it is dispatched.
void RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(MSG&)>& filter = nullptr);

// Shows a popup (a menu, a combo box's open list) without taking the foreground, gives it the
// keys and runs it modally until `done`; the keys then go back where they were. Returns false
// when the popup was destroyed meanwhile.
bool RunPopupWindow(HWND popup, const std::function<bool()>& done);

// A window that is modal for its owner (a dialog, a message box): while it lives the owner's
// top-level window takes no input; afterwards it is enabled again and the window that was in
// front comes back to the front.
class OwnedModal {
public:
    explicit OwnedModal(HWND owner);
    ~OwnedModal();
    OwnedModal(const OwnedModal&) = delete;
    OwnedModal& operator=(const OwnedModal&) = delete;

    // Shows `window` and runs its modal loop.
    void Run(HWND window, const std::function<bool()>& done,
             const std::function<bool(MSG&)>& filter = nullptr);

private:
    HWND previousForeground_;
    HWND disabledOwner_ = nullptr;
};

}  // namespace platform::detail
