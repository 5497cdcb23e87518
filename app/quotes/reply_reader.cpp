#include "quotes/reply_reader.h"

ReplyRead ReadReply(ReadChunk read, void* source, unsigned char (&buffer)[kReplyBufferSize]) {
    ReplyRead result;
    while (result.count + kReplyReadSize < kReplyBufferSize) {
        DWORD got = 0;
        const bool ok = read(source, buffer + result.count, kReplyReadSize, &got);
        ++result.reads;
        result.count += got <= kReplyReadSize ? got : 0;
        if (!ok) {
            result.cut = true;
            return result;
        }
        if (got == 0) return result;
    }
    // The reply may go on past what the buffer takes.
    result.cut = true;
    return result;
}
