// The user's choices, kept as string values under one registry key of HKEY_LOCAL_MACHINE.
// An on/off value holds "1" or "0"; anything else reads as off.
#pragma once

// The key under HKEY_LOCAL_MACHINE that holds every setting.
struct SettingsStore {
    static constexpr const char16_t* kKey = u"Software\\Quellmark\\PIV\\Settings";
};

// Absent until the first start has seeded the portfolio, "1" ever after.
inline constexpr const char16_t* kFirstStartMarker = u"Initialized";
inline constexpr const char16_t* kDeleteLinesSetting = u"DeleteLines";
inline constexpr const char16_t* kOpenBrowserSetting = u"OpenBrowser";
inline constexpr const char16_t* kProxySetting = u"Proxy";
inline constexpr const char16_t* kPortSetting = u"Port";
inline constexpr const char16_t* kUseProxySetting = u"UseProxy";

bool ReadSettingFlag(const char16_t* name);
// Stores "1" or "0"; true on success.
bool WriteSettingFlag(const char16_t* name, bool on);
// Stores a text value, opening (and creating) the key and closing it once; true on success. A
// value that cannot be stored (the settings file cannot be written) is still kept for this run,
// so the viewer shows what the user chose.
bool WriteSettingText(const char16_t* name, const char16_t* text);
// True when the value exists, whatever it holds.
bool SettingExists(const char16_t* name);
// When the settings hold none of the column values (a settings file lost, emptied or
// unreadable beside an existing portfolio), the first start's defaults are written, and kept
// for this run when they cannot be.
void ApplyColumnDefaultsWhenNone();
// Forgets the values kept for a run; a run's start calls it.
void ForgetUnstoredSettings();

// The first-start defaults, all written as on, in this order.
inline constexpr int kFirstStartDefaultCount = 19;
extern const char16_t* const kFirstStartDefaults[kFirstStartDefaultCount];
