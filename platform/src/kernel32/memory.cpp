#include "platform/kernel32/memory.h"

#include <cstdlib>

#include "host/faults.h"

HLOCAL LocalAlloc(UINT flags, std::size_t bytes) {
    if (platform::detail::AllocationFails()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* block = (flags & LMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1)
                                          : std::malloc(bytes ? bytes : 1);
    if (!block) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return static_cast<HLOCAL>(block);
}

HLOCAL LocalFree(HLOCAL block) {
    std::free(block);
    return nullptr;
}
