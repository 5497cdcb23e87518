#include "platform/kernel32/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <memory>
#include <optional>

#include "host/faults.h"
#include "host/handle_table.h"
#include "host/host_fs.h"
#include "platform/host/device_root.h"

namespace {

struct OpenFile {
    int fd = -1;      // where reads and writes go
    int lockFd = -1;  // holds the exclusive lock on the target
    std::string path;
    // A CREATE_ALWAYS handle's new content, until it is put in place.
    std::optional<platform::detail::StagedFile> staged;
    bool written = false;  // a replacing handle closed with nothing written replaces nothing
    bool writeFailed = false;

    ~OpenFile() {
        if (lockFd >= 0 && lockFd != fd) ::close(lockFd);
        if (fd >= 0 && !staged) ::close(fd);  // a staged file closes its own
    }
};

platform::detail::HandleTable<OpenFile>& OpenFiles() {
    static platform::detail::HandleTable<OpenFile> files(0x100);
    return files;
}

OpenFile* Lookup(HANDLE handle) {
    OpenFile* file = OpenFiles().Find(handle);
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOSPC: return ERROR_DISK_FULL;
        case EIO: return ERROR_WRITE_FAULT;
        case EWOULDBLOCK: return ERROR_SHARING_VIOLATION;
        default: return ERROR_ACCESS_DENIED;
    }
}

// Opens `path` and takes its exclusive lock; -1 (and the last error) on failure.
int OpenLocked(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_RDWR | O_CLOEXEC, 0644);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        ::close(fd);
        return -1;
    }
    return fd;
}

// Puts the content of a CREATE_ALWAYS handle in place of the target.
bool Commit(OpenFile& file) {
    if (file.writeFailed) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    if (!file.staged->Commit()) {
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    // The lock moves to the new file, which is the one the target path names now.
    file.fd = file.staged->ReleaseFd();
    file.staged.reset();
    ::flock(file.fd, LOCK_EX | LOCK_NB);
    ::close(file.lockFd);
    file.lockFd = file.fd;
    return true;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR path, DWORD, DWORD shareMode, SECURITY_ATTRIBUTES*, DWORD disposition,
                   DWORD, HANDLE) {
    const std::string host = platform::HostPath(path);
    if (host.empty() || shareMode != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // A directory, a FIFO or a device is never read as a file (a FIFO would block, /dev/zero
    // never end) nor replaced.
    if (platform::detail::NamesNonRegularFile(host)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    auto file = std::make_unique<OpenFile>();
    file->path = host;
    if (disposition == CREATE_ALWAYS) {
        // Missing and empty are the same to every caller, so the target may be created here
        // to carry the lock.
        file->lockFd = OpenLocked(host, O_CREAT);
        if (file->lockFd < 0) return INVALID_HANDLE_VALUE;
        file->staged.emplace();
        if (!file->staged->Begin(host)) {
            SetLastError(ErrorFromErrno(errno));
            return INVALID_HANDLE_VALUE;
        }
        file->fd = file->staged->fd();
    } else if (disposition == OPEN_ALWAYS || disposition == OPEN_EXISTING) {
        // What a save killed half way left beside the file goes when the file is next opened.
        platform::detail::RemoveStaleStaging(platform::detail::FinalTarget(host));
        file->lockFd = OpenLocked(host, disposition == OPEN_ALWAYS ? O_CREAT : 0);
        if (file->lockFd < 0) return INVALID_HANDLE_VALUE;
        file->fd = file->lockFd;
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return OpenFiles().Add<HANDLE>(std::move(file));
}

DWORD GetFileSize(HANDLE handle, DWORD* sizeHigh) {
    if (platform::detail::CallFails(platform::detail::FailingCall::getFileSize)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_FILE_SIZE;
    }
    OpenFile* file = Lookup(handle);
    struct stat st {};
    if (!file || ::fstat(file->fd, &st) != 0) return INVALID_FILE_SIZE;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read, void*) {
    if (read) *read = 0;
    OpenFile* file = Lookup(handle);
    if (!file || (!buffer && toRead)) return FALSE;
    DWORD done = 0;
    while (done < toRead) {
        const ssize_t n = ::read(file->fd, static_cast<char*>(buffer) + done, toRead - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            SetLastError(ErrorFromErrno(errno));
            if (read) *read = done;
            return FALSE;
        }
        if (n == 0) break;
        done += static_cast<DWORD>(n);
    }
    if (read) *read = done;
    return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written, void*) {
    if (written) *written = 0;
    OpenFile* file = Lookup(handle);
    if (!file || (!buffer && toWrite)) return FALSE;
    file->written = true;
    if (!platform::detail::WriteAll(file->fd, buffer, toWrite)) {
        file->writeFailed = true;
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    if (written) *written = toWrite;
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
    OpenFile* file = Lookup(handle);
    if (!file) return FALSE;
    if (file->staged) return Commit(*file) ? TRUE : FALSE;
    if (file->writeFailed) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return ::fsync(file->fd) == 0 ? TRUE : FALSE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
    OpenFile* file = Lookup(handle);
    if (!file || method > 2) return INVALID_SET_FILE_POINTER;
    off_t offset = distance;
    if (distanceHigh)
        offset = (static_cast<off_t>(*distanceHigh) << 32) | static_cast<DWORD>(distance);
    const int whence = method == FILE_BEGIN     ? SEEK_SET
                       : method == FILE_CURRENT ? SEEK_CUR
                                                : SEEK_END;
    const off_t result = ::lseek(file->fd, offset, whence);
    if (result < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) *distanceHigh = static_cast<LONG>(result >> 32);
    return static_cast<DWORD>(result & 0xFFFFFFFF);
}

BOOL SetEndOfFile(HANDLE handle) {
    OpenFile* file = Lookup(handle);
    if (!file) return FALSE;
    const off_t position = ::lseek(file->fd, 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(file->fd, position) != 0) return FALSE;
    // Cutting an in-place file back takes back a failed write's half. A replacing handle
    // stays failed: its content is dropped at close and the old file kept.
    if (!file->staged) file->writeFailed = false;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    OpenFile* file = Lookup(handle);
    if (!file) return FALSE;
    // A replacing handle whose every write succeeded puts its content in place; otherwise (a
    // failed write, or nothing written: the caller gave up before writing) its staged file
    // goes and the target keeps what it had.
    if (file->staged && file->written) Commit(*file);
    OpenFiles().Remove(handle);
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, SECURITY_ATTRIBUTES*) {
    const std::string host = platform::HostPath(path);
    if (host.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::detail::MakeDirectories(platform::detail::ParentDirectory(host));
    if (::mkdir(host.c_str(), 0755) == 0) return TRUE;
    SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno));
    return FALSE;
}

BOOL DeleteFileW(LPCWSTR path) {
    const std::string host = platform::HostPath(path);
    if (host.empty() || ::unlink(host.c_str()) != 0) {
        SetLastError(host.empty() ? ERROR_INVALID_PARAMETER : ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}
