// The handheld's screen, in pixels: the navigation bar takes the top 26, the menu bar the
// bottom 26, and the desktop between them is where programs' windows go.
#pragma once

inline constexpr int kNavigationBarHeight = 26;
inline constexpr int kMenuBarHeight = 26;
