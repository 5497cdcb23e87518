// How much of a reply the download reads.
#include "quotes/reply_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A reply of `size` bytes delivered `chunk` bytes a read at most; the read after `failAt`
// bytes fails.
struct FakeReply {
    FakeReply(std::size_t size, std::size_t chunk, std::size_t failAt = std::size_t(-1))
        : size(size), chunk(chunk), failAt(failAt) {}

    std::size_t size;
    std::size_t chunk;
    std::size_t failAt;
    std::size_t sent = 0;
    std::vector<DWORD> asked;

    static bool Read(void* source, unsigned char* into, DWORD size, DWORD* got) {
        auto* r = static_cast<FakeReply*>(source);
        r->asked.push_back(size);
        if (r->sent >= r->failAt) {
            *got = 0;
            return false;
        }
        const std::size_t n =
            std::min({static_cast<std::size_t>(size), r->chunk, r->size - r->sent});
        std::fill(into, into + n, static_cast<unsigned char>('a' + r->sent % 26));
        r->sent += n;
        *got = static_cast<DWORD>(n);
        return true;
    }
};

ReplyRead ReadAll(FakeReply& reply) {
    static unsigned char buffer[kReplyBufferSize];
    return ReadReply(FakeReply::Read, &reply, buffer);
}

TEST(ReplyReader, AtMost16383BytesInReadsOf4096) {
    FakeReply whole{20000, 4096};
    ReplyRead read = ReadAll(whole);
    EXPECT_EQ(read.reads, 3);  // a fourth would start with 12,288 held
    EXPECT_EQ(read.count, 12288u);
    EXPECT_TRUE(read.cut);
    EXPECT_TRUE(
        std::all_of(whole.asked.begin(), whole.asked.end(), [](DWORD n) { return n == 4096; }));

    FakeReply small{15000, 1000};
    read = ReadAll(small);
    EXPECT_EQ(read.reads, 13);  // the thirteenth starts with 12,000 held
    EXPECT_EQ(read.count, 13000u);

    // However the reads split a reply, the buffer's last byte is never filled.
    for (std::size_t chunk = 1; chunk <= 4096; chunk = chunk * 3 + 1) {
        FakeReply exact{kReplyBufferSize, chunk};
        EXPECT_LT(ReadAll(exact).count, kReplyBufferSize) << chunk;
    }
}

TEST(ReplyReader, TheEndAndAFailedReadEndTheReading) {
    FakeReply shortReply{700, 4096};
    ReplyRead read = ReadAll(shortReply);
    EXPECT_EQ(read.count, 700u);
    EXPECT_EQ(read.reads, 2);  // the second delivers 0: the end
    EXPECT_FALSE(read.cut);

    FakeReply empty{0, 4096};
    read = ReadAll(empty);
    EXPECT_EQ(read.count, 0u);
    EXPECT_FALSE(read.cut);

    FakeReply failing{9000, 2000, 4000};
    read = ReadAll(failing);
    EXPECT_EQ(read.count, 4000u);
    EXPECT_TRUE(read.cut);
}

}  // namespace
