// Message boxes. A message box is modal: it returns when the user has answered it.
#pragma once

#include "platform/win_types.h"

inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Shows `text` with `caption` and the buttons of `type`, owned by `owner` (or by none), and
// returns the button chosen: IDOK or IDCANCEL.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

namespace platform {

// Whoever shows message boxes: the window system installs its modal box here, tests their
// recorder. Without one, the text goes to stderr and the answer is OK (Cancel for MB_OKCANCEL).
using MessageBoxPresenter = int (*)(void* context, HWND owner, LPCWSTR text, LPCWSTR caption,
                                    UINT type);
struct MessageBoxHook {
    MessageBoxPresenter present = nullptr;
    void* context = nullptr;
};
// Installs a presenter and returns the one it replaces.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

}  // namespace platform
