#include "settings/settings_store.h"

#include "model/fixed_text.h"
#include "platform/advapi32/registry.h"

const char16_t* const kFirstStartDefaults[kFirstStartDefaultCount] = {
    u"Exchange",    u"LastPrice", u"Change",      u"PctChange",   u"Volume",
    u"EPS",         u"PrevClose", u"LastTrdDate", u"PER",         u"MarketCap",
    u"LastTrdTime", u"HighPrice", u"LowPrice",    u"YearHigh",    u"YearLow",
    u"SharesOut",   u"CoName",    u"DeleteLines", u"OpenBrowser",
};

bool ReadSettingFlag(const char16_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SettingsStore::kKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    char16_t data[2] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    // "1" and its terminator are exactly 4 bytes; "10" or "x" read as off.
    return result == ERROR_SUCCESS && size == sizeof data && data[0] == u'1';
}

bool WriteSettingText(const char16_t* name, const char16_t* text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, SettingsStore::kKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((TextLength(text) + 1) * sizeof(char16_t));
    const LONG result =
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void WriteSettingFlag(const char16_t* name, bool on) {
    WriteSettingText(name, on ? u"1" : u"0");
}

bool SettingExists(const char16_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SettingsStore::kKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    const LONG result = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
