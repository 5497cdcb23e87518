// Reading one reply into the download's buffer: 4,096 bytes a read, each placed after those
// held, and a read started only while fewer than 12,288 are held, so at most 16,383 bytes of a
// reply are used and the rest of a longer one is left.
#pragma once

#include <cstddef>

#include "platform/win_types.h"

inline constexpr std::size_t kReplyBufferSize = 16384;
inline constexpr DWORD kReplyReadSize = 4096;

struct ReplyRead {
    std::size_t count = 0;  // bytes held
    bool cut = false;       // a read failed, or the buffer's limit ended the reading
    int reads = 0;
};

// One read of at most `size` bytes into `into`: false when it failed, `got` the bytes read.
using ReadChunk = bool (*)(void* source, unsigned char* into, DWORD size, DWORD* got);

// Reads until a read delivers nothing, fails, or the buffer's limit is reached.
ReplyRead ReadReply(ReadChunk read, void* source, unsigned char (&buffer)[kReplyBufferSize]);
