#include "settings/settings_store.h"

#include "model/fixed_text.h"
#include "platform/advapi32/registry.h"
#include "settings/column_flags.h"

namespace {

// The values this run could not store: the settings module's own table, read before the
// registry. A value is one character ("1" or "0") or none.
constexpr int kUnstoredCapacity = 32;
struct UnstoredValue {
    const char16_t* name = nullptr;
    char16_t data[2] = {};
};
UnstoredValue unstored[kUnstoredCapacity];

UnstoredValue* FindUnstored(const char16_t* name) {
    for (UnstoredValue& value : unstored) {
        if (value.name && TextEquals(value.name, name)) return &value;
    }
    return nullptr;
}

void KeepUnstored(const char16_t* name, const char16_t* text) {
    UnstoredValue* value = FindUnstored(name);
    for (int i = 0; !value && i < kUnstoredCapacity; ++i) {
        if (!unstored[i].name) value = &unstored[i];
    }
    if (!value) return;
    value->name = name;
    SetTextN(value->data, text, TextLength(text));
}

void ForgetUnstored(const char16_t* name) {
    if (UnstoredValue* value = FindUnstored(name)) *value = UnstoredValue{};
}

}  // namespace

const char16_t* const kFirstStartDefaults[kFirstStartDefaultCount] = {
    u"Exchange",    u"LastPrice", u"Change",      u"PctChange",   u"Volume",
    u"EPS",         u"PrevClose", u"LastTrdDate", u"PER",         u"MarketCap",
    u"LastTrdTime", u"HighPrice", u"LowPrice",    u"YearHigh",    u"YearLow",
    u"SharesOut",   u"CoName",    u"DeleteLines", u"OpenBrowser",
};

bool ReadSettingFlag(const char16_t* name) {
    if (const UnstoredValue* value = FindUnstored(name)) return value->data[0] == u'1';
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

namespace {

bool StoreSettingText(const char16_t* name, const char16_t* text) {
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

}  // namespace

bool WriteSettingText(const char16_t* name, const char16_t* text) {
    if (StoreSettingText(name, text)) {
        ForgetUnstored(name);
        return true;
    }
    if (TextLength(text) <= 1) KeepUnstored(name, text);
    return false;
}

bool WriteSettingFlag(const char16_t* name, bool on) {
    return WriteSettingText(name, on ? u"1" : u"0");
}

void ForgetUnstoredSettings() {
    for (UnstoredValue& value : unstored) value = UnstoredValue{};
}

void ApplyColumnDefaultsWhenNone() {
    for (const char16_t* name : ColumnFlagNames) {
        if (SettingExists(name)) return;
    }
    for (const char16_t* name : kFirstStartDefaults) {
        if (!SettingExists(name)) WriteSettingFlag(name, true);
    }
}

bool SettingExists(const char16_t* name) {
    if (FindUnstored(name)) return true;
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
