// The device registry. HKEY_LOCAL_MACHINE lives in a text hive in the device root, in the
// format of .reg exports; every change rewrites the hive atomically. Key and value names
// compare without regard to ASCII case, as on Windows. Only string values (REG_SZ) exist.
#pragma once

#include "platform/win_types.h"

HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u));

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD KEY_WRITE = 0x20006;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD options, DWORD access, HKEY* result);
// Opens a key, creating it (and the keys above it) when missing.
LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD reserved, LPWSTR className, DWORD options,
                     DWORD access, SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition);
// Copies the value's data into `data`, whose size in bytes is *dataSize. String data counts
// its terminator, two bytes a character. Missing value: ERROR_FILE_NOT_FOUND. Data larger
// than the buffer: ERROR_MORE_DATA, nothing copied, *dataSize set to the size needed.
// A null `data` asks for the size alone.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize);
// Sets a REG_SZ value from `data` (UTF-16 text; a terminator in the data ends it).
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataSize);
LONG RegCloseKey(HKEY key);
