// One viewer per device root: the first one listens on a socket named after its device root,
// so that a second start can find its window and bring it to the front.
#pragma once

#include <string_view>

#include "platform/win_types.h"

namespace platform::detail {

// Listens, once, when the program's first top-level window is created: true when this process
// holds the device root (or there is no channel to be had). False when another viewer holds
// it, one started at the same moment, which was not there to be found: it is asked to come to
// the front, and a line on stderr says so. Creates no file.
bool ClaimDevice(std::u16string_view className, std::u16string_view title);
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
