// The proxy server the quote download goes through: read from the settings at start-up,
// replaced by the proxy dialog, read by each download.
#pragma once

#include <cstddef>

inline constexpr std::size_t kProxyHostWidth = 49;  // 48 characters
inline constexpr std::size_t kProxyPortWidth = 5;   // 4 digits

struct ProxySettings {
    char16_t proxyHost[kProxyHostWidth];
    char16_t proxyPort[kProxyPortWidth];
    bool useProxy;
};

extern ProxySettings proxySettings;

// Fills proxySettings from the stored "Proxy", "Port" and "UseProxy". Returns 0, with
// useProxy off, when the key or any of the three values is missing or too long; copies read
// before the failing one keep what was read.
int ReadProxySettings();
