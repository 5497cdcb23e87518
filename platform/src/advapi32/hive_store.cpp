#include "advapi32/hive_store.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "host/host_fs.h"
#include "platform/host/device_root.h"

namespace platform::detail {
namespace {

constexpr std::size_t kMostHiveBytes = 1 << 20;

// What tells one version of the file from another: an atomic rewrite makes a new inode, and
// an edit in place changes the size or the modification time.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long mtimeSeconds = 0;
    long mtimeNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

struct ParsedHive {
    std::string path;
    bool valid = false;
    FileIdentity identity;
    HiveFile state = HiveFile::absent;
    Hive hive;
};

ParsedHive& Parsed() {
    static ParsedHive parsed;
    return parsed;
}

// Once a process, for each hive path. A forked child is a new process: it looks again.
void RemoveStaleStagingOnce(const std::string& path) {
    static std::string scannedPath;
    static const bool forgetOnFork =
        ::pthread_atfork(nullptr, nullptr, [] { scannedPath.clear(); }) == 0;
    (void)forgetOnFork;
    if (scannedPath == path) return;
    RemoveStaleStaging(FinalTarget(path));
    scannedPath = path;
}

// Reads the regular file at `path` whole, with the identity of what was read.
bool ReadRegularFile(const std::string& path, std::string& text, FileIdentity& identity) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    bool sound = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                 static_cast<std::size_t>(st.st_size) <= kMostHiveBytes;
    text.clear();
    char buffer[16 * 1024];
    while (sound && text.size() <= kMostHiveBytes) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            sound = n == 0;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    identity = IdentityOf(st);
    return sound && text.size() <= kMostHiveBytes;
}

void Reparse(ParsedHive& parsed, const std::string& path) {
    std::string text;
    parsed.valid = ReadRegularFile(path, text, parsed.identity);
    parsed.state = HiveFile::readable;
    if (!parsed.valid || !DecodeHiveText(text)) {
        text.clear();
        parsed.state = HiveFile::unreadable;
    }
    parsed.hive = ParseHive(text);
}

}  // namespace

std::string HivePath() {
    return platform::DeviceRoot() + "/registry.reg";
}

const Hive& CurrentHive(HiveFile* state) {
    const std::string path = HivePath();
    RemoveStaleStagingOnce(path);
    ParsedHive& parsed = Parsed();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const bool absent = errno == ENOENT;
        parsed = ParsedHive{};
        parsed.state = absent ? HiveFile::absent : HiveFile::unreadable;
    } else if (!S_ISREG(st.st_mode)) {
        parsed = ParsedHive{};
        parsed.state = HiveFile::unreadable;
    } else if (!parsed.valid || parsed.path != path || !(parsed.identity == IdentityOf(st))) {
        parsed.path = path;
        Reparse(parsed, path);
    }
    if (state) *state = parsed.state;
    return parsed.hive;
}

bool StoreHive(const Hive& hive) {
    const std::string path = HivePath();
    MakeDirectories(ParentDirectory(path));
    // The next read parses what is on disk, as another process would.
    Parsed().valid = false;
    return ReplaceFileAtomically(path, SerializeHive(hive));
}

}  // namespace platform::detail
