// Heap blocks of the device.
#pragma once

#include "platform/win_types.h"

inline constexpr UINT LMEM_FIXED = 0x0000;
inline constexpr UINT LMEM_ZEROINIT = 0x0040;
inline constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

// A fixed block of `bytes` bytes (zero-filled with LMEM_ZEROINIT), or null when memory
// cannot be had. The block's address is the handle.
HLOCAL LocalAlloc(UINT flags, std::size_t bytes);
HLOCAL LocalFree(HLOCAL block);
