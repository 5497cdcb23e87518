// Where the device's file system lives on the host.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace platform {

// The device root: TICKWELL_DEVICE if set, else $XDG_DATA_HOME/tickwell, else
// ~/.local/share/tickwell. Read at every call, so tests can point it elsewhere.
std::string DeviceRoot();

// The host path of an absolute device path ("/PIVData/PIVData.PIV" or "\\PIVData\\...").
// Path components that would leave the root ("..") are refused: the result is empty.
std::string HostPath(LPCWSTR devicePath);

}  // namespace platform
