// One viewer per device root: the first one listens on a socket named after its device root,
// so that a second start can find its window and bring it to the front.
#pragma once

#include "platform/win_types.h"

namespace platform::detail {

// Starts listening, once, when the first top-level window is created. Creates no file.
void StartInstanceChannel();
void StopInstanceChannel();
// The listening socket, or -1; the device wakes when it is readable.
int InstanceChannelFd();
// Answers the requests of other processes that are waiting.
void ServeInstanceRequests();

// A top-level window of the viewer running in another process, if there is one.
HWND FindRemoteWindow(LPCWSTR className, LPCWSTR title);
bool IsRemoteWindow(HWND window);
BOOL BringRemoteToFront(HWND window);

}  // namespace platform::detail
