#pragma once

#include "platform/win_types.h"

namespace platform::detail {

// Shows a message box on the device's screen and runs it modally; returns IDOK or IDCANCEL.
int ShowMessageBoxWindow(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

}  // namespace platform::detail
