// The screen's session: the classes and windows every program finds on it (the controls'
// classes, the navigation bar) and, at its end, a clean window system again. The terminal and
// the headless devices start and end their screens through it.
#pragma once

namespace platform::detail {

void OpenDesktop();
// Destroys every window, forgets every handle and stops answering other viewers.
void CloseDesktop();

}  // namespace platform::detail
