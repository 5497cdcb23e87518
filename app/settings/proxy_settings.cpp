#include "settings/proxy_settings.h"

#include "model/fixed_text.h"
#include "platform/advapi32/registry.h"
#include "settings/settings_store.h"

ProxySettings proxySettings = {};

namespace {

// Reads a text value straight into `field`; fails when it is missing or does not fit.
template <std::size_t W>
bool QueryText(HKEY key, const char16_t* name, char16_t (&field)[W]) {
    char16_t data[W] = {};
    DWORD size = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    SetText(field, data);
    return true;
}

}  // namespace

int ReadProxySettings() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SettingsStore::kKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        proxySettings.useProxy = false;
        return 0;
    }
    // The host is read with the room the proxy dialog stores (48 characters), so a long
    // host name survives a restart.
    char16_t useProxy[2] = {};
    const bool ok = QueryText(key, kProxySetting, proxySettings.proxyHost) &&
                    QueryText(key, kPortSetting, proxySettings.proxyPort) &&
                    QueryText(key, kUseProxySetting, useProxy);
    RegCloseKey(key);
    proxySettings.useProxy = ok && useProxy[0] == u'1';
    return ok ? 1 : 0;
}
