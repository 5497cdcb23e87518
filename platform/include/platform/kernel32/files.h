// Files and directories of the device. Paths are absolute device paths ("/PIVData/x.PIV");
// they live under the device root (see device_root.h).
//
// Opens are exclusive: while a handle is open, any second open of the same file fails with
// ERROR_SHARING_VIOLATION, from this process or another one on the same device root.
//
// CREATE_ALWAYS never destroys the old content before the new one is complete: the handle
// writes to a temporary file beside the target, and FlushFileBuffers (or CloseHandle, when
// something was written and every write succeeded) flushes it to disk and renames it over the
// target. A handle whose write failed, or that is closed with nothing written or flushed, is
// discarded at CloseHandle and the target stays as it was (FlushFileBuffers with nothing
// written does empty the file).
#pragma once

#include "platform/win_types.h"

inline constexpr DWORD GENERIC_READ = 0x80000000u;
inline constexpr DWORD GENERIC_WRITE = 0x40000000u;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;
inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;

// dwShareMode must be 0 (no sharing); the attributes and template are ignored.
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped);
// Fails (FALSE, ERROR_DISK_FULL or ERROR_WRITE_FAULT) unless every byte was written.
BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped);
// Flushes to disk; on a CREATE_ALWAYS handle it also puts the new content in place.
BOOL FlushFileBuffers(HANDLE file);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
// Cuts the file at the current position.
BOOL SetEndOfFile(HANDLE file);
BOOL CloseHandle(HANDLE handle);
// FALSE with ERROR_ALREADY_EXISTS when the directory is there already.
BOOL CreateDirectoryW(LPCWSTR path, SECURITY_ATTRIBUTES* security);
BOOL DeleteFileW(LPCWSTR path);
