#include "host/host_fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "host/faults.h"

namespace platform::detail {

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return false;
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ParentDirectory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string FinalTarget(const std::string& path) {
    constexpr int kMostLinks = 40;
    std::string current = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char buffer[4096];
        const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0) return current;
        const std::string link(buffer, static_cast<std::size_t>(n));
        current = link.front() == '/' ? link : ParentDirectory(current) + "/" + link;
    }
    return path;
}

bool NamesNonRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    if (!TakeWriteBudget(size)) {
        errno = ENOSPC;
        return false;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, static_cast<const char*>(data) + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

StagedFile::~StagedFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !staged_.empty()) ::unlink(staged_.c_str());
}

namespace {

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process a staging file name was made by, or 0 for a name not of that form.
long StagingProcess(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const char* digits = name.c_str() + prefix.size();
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    return end != digits && *end == '-' && pid > 0 ? pid : 0;
}

}  // namespace

void RemoveStaleStaging(const std::string& target) {
    const std::string directory = ParentDirectory(target);
    const std::string base = BaseName(target);
    const std::string prefix = base + ".tmp-";
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const long pid = StagingProcess(name, prefix);
        // Older versions staged in "<target>.tmp"; a process still alive is still writing.
        const bool stale =
            name == base + ".tmp" || (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH);
        if (stale) ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

bool StagedFile::Begin(const std::string& path) {
    static unsigned long counter = 0;
    const std::string target = FinalTarget(path);
    if (NamesNonRegularFile(target)) {
        errno = EACCES;
        return false;
    }
    RemoveStaleStaging(target);
    target_ = target;
    staged_ = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    fd_ = ::open(staged_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0) staged_.clear();
    return fd_ >= 0;
}

bool StagedFile::Commit() {
    if (fd_ < 0 || committed_) return committed_;
    // The new content is locked before it becomes the target, so that no other opener can take
    // the target's lock between the rename and the lock.
    ::flock(fd_, LOCK_EX | LOCK_NB);
    if (CallFails(FailingCall::rename)) {
        errno = EIO;
        return false;
    }
    if (::fsync(fd_) != 0 || ::rename(staged_.c_str(), target_.c_str()) != 0) return false;
    committed_ = true;
    SyncDirectory(ParentDirectory(target_));
    return true;
}

int StagedFile::ReleaseFd() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& content) {
    StagedFile staged;
    return staged.Begin(path) && WriteAll(staged.fd(), content.data(), content.size()) &&
           staged.Commit();
}

}  // namespace platform::detail
