// Starting other programs of the device: "iexplore.exe" (the browser) with a page address,
// "peghelp.exe" (the help viewer) with a help file. The outcome is not reported.
#pragma once

#include "platform/win_types.h"

struct PROCESS_INFORMATION;
struct STARTUPINFOW;

BOOL CreateProcessW(LPCWSTR application, LPWSTR commandLine, SECURITY_ATTRIBUTES* process,
                    SECURITY_ATTRIBUTES* thread, BOOL inherit, DWORD flags, void* environment,
                    LPCWSTR directory, STARTUPINFOW* startup, PROCESS_INFORMATION* info);
