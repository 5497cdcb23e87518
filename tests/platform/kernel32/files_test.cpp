#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <string>

#include "platform/host/device_root.h"
#include "platform/kernel32/files.h"
#include "platform/kernel32/memory.h"
#include "platform/testing/faults.h"
#include "support/device_fixture.h"

namespace {

using tickwell_test::DeviceTest;

class FilesTest : public DeviceTest {
protected:
    static HANDLE Open(DWORD disposition, const char16_t* path = u"/D/f.bin") {
        return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static bool Write(HANDLE file, const std::string& text) {
        DWORD written = 0;
        return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
               written == text.size();
    }
};

TEST_F(FilesTest, DevicePathsLiveUnderTheRootAndCannotLeaveIt) {
    EXPECT_EQ(platform::HostPath(u"/PIVData/PIVData.PIV"), root_ + "/PIVData/PIVData.PIV");
    EXPECT_EQ(platform::HostPath(u"\\PIVData\\x"), root_ + "/PIVData/x");
    EXPECT_EQ(platform::HostPath(u"/PIVData/../../etc"), "");
    ::unsetenv("TICKWELL_DEVICE");
    ::setenv("XDG_DATA_HOME", "/xdg", 1);
    EXPECT_EQ(platform::DeviceRoot(), "/xdg/tickwell");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(platform::DeviceRoot(), "/home/u/.local/share/tickwell");
    ::setenv("TICKWELL_DEVICE", root_.c_str(), 1);
}

TEST_F(FilesTest, DirectoriesAndOpenAlways) {
    EXPECT_TRUE(CreateDirectoryW(u"/D", nullptr));
    EXPECT_FALSE(CreateDirectoryW(u"/D", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    HANDLE file = Open(OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    EXPECT_TRUE(Write(file, "hello"));
    EXPECT_EQ(GetFileSize(file, nullptr), 5u);
    CloseHandle(file);
    file = Open(OPEN_ALWAYS);
    char buffer[16] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "hello");
    CloseHandle(file);
    EXPECT_EQ(Open(OPEN_ALWAYS, u"/NoSuchDir/f"), INVALID_HANDLE_VALUE);
}

TEST_F(FilesTest, CreateAlwaysReplacesOnlyWhenComplete) {
    CreateDirectoryW(u"/D", nullptr);
    HANDLE file = Open(CREATE_ALWAYS);
    Write(file, "old content");
    CloseHandle(file);
    EXPECT_EQ(ReadHostText("/D/f.bin"), "old content");

    file = Open(CREATE_ALWAYS);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    Write(file, "new");
    EXPECT_EQ(ReadHostText("/D/f.bin"), "old content");  // not in place before it is complete
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_EQ(ReadHostText("/D/f.bin"), "new");
    CloseHandle(file);

    file = Open(CREATE_ALWAYS);
    Write(file, "partial");
    platform::testing::SetWriteBudget(2);
    EXPECT_FALSE(Write(file, "more"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_FALSE(FlushFileBuffers(file));
    CloseHandle(file);
    EXPECT_EQ(ReadHostText("/D/f.bin"), "new");
    EXPECT_FALSE(std::filesystem::exists(Host("/D/f.bin.tmp")));

    // Opened and closed with nothing written, it replaces nothing; flushed, it is emptied.
    CloseHandle(Open(CREATE_ALWAYS));
    EXPECT_EQ(ReadHostText("/D/f.bin"), "new");
    file = Open(CREATE_ALWAYS);
    EXPECT_TRUE(FlushFileBuffers(file));
    CloseHandle(file);
    EXPECT_EQ(ReadHostText("/D/f.bin"), "");
    EXPECT_FALSE(std::filesystem::exists(Host("/D/f.bin.tmp")));
}

TEST_F(FilesTest, OpensAreExclusiveWithinAndAcrossProcesses) {
    CreateDirectoryW(u"/D", nullptr);
    HANDLE file = Open(OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(OPEN_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(Open(CREATE_ALWAYS), INVALID_HANDLE_VALUE);

    const pid_t child = ::fork();
    if (child == 0) _exit(Open(OPEN_ALWAYS) == INVALID_HANDLE_VALUE ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "another process opened it";

    CloseHandle(file);
    file = Open(CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_EQ(Open(OPEN_ALWAYS), INVALID_HANDLE_VALUE);  // still held after the replace
    CloseHandle(file);
    file = Open(OPEN_ALWAYS);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

TEST_F(FilesTest, StaleAndForgedHandlesAreRefused) {
    CreateDirectoryW(u"/D", nullptr);
    HANDLE file = Open(OPEN_ALWAYS);
    CloseHandle(file);
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetFileSize(file, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
    EXPECT_FALSE(Write(INVALID_HANDLE_VALUE, "x"));
    EXPECT_FALSE(Write(nullptr, "x"));
}

TEST_F(FilesTest, AllocationIsZeroFilledAndCanBeMadeToFail) {
    auto* block = static_cast<unsigned char*>(static_cast<void*>(LocalAlloc(LPTR, 64)));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(block[i], 0);
    LocalFree(reinterpret_cast<HLOCAL>(block));
    platform::testing::SetAllocationFailure(true);
    EXPECT_EQ(LocalAlloc(LPTR, 64), nullptr);
}

}  // namespace

namespace {

// A data file kept elsewhere through a link stays linked: the save lands in the file the link
// names. What is not a regular file is neither read nor replaced.
TEST_F(FilesTest, SavesWriteThroughLinksAndNonRegularFilesAreRefused) {
    std::filesystem::create_directories(Host("/D"));
    std::filesystem::create_directories(Host("/kept"));
    WriteHostText("/kept/real.bin", "old");
    std::filesystem::create_symlink("../kept/real.bin", Host("/D/f.bin"));
    HANDLE file = Open(CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Write(file, "new content"));
    ASSERT_TRUE(CloseHandle(file));
    EXPECT_TRUE(std::filesystem::is_symlink(Host("/D/f.bin")));
    const auto bytes = ReadHostFile("/kept/real.bin");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new content");

    ASSERT_EQ(::mkfifo(Host("/D/fifo").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", Host("/D/zero"));
    std::filesystem::create_directories(Host("/D/dir"));
    for (const char16_t* path : {u"/D/fifo", u"/D/zero", u"/D/dir"}) {
        for (DWORD disposition : {OPEN_ALWAYS, CREATE_ALWAYS}) {
            EXPECT_EQ(Open(disposition, path), INVALID_HANDLE_VALUE);
            EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(Host("/D/fifo")));
    EXPECT_EQ(std::filesystem::read_symlink(Host("/D/zero")), "/dev/zero");
}

}  // namespace
