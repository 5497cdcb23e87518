#include "platform/advapi32/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "advapi32/reg_hive.h"
#include "host/handle_table.h"
#include "host/host_fs.h"
#include "platform/host/device_root.h"

namespace {

using platform::detail::Hive;
using platform::detail::HiveKey;

constexpr std::u16string_view kMachineRoot = u"HKEY_LOCAL_MACHINE";

// Open keys, each naming its full key path.
platform::detail::HandleTable<std::u16string>& OpenKeys() {
    static platform::detail::HandleTable<std::u16string> keys(0x1000);
    return keys;
}

std::string HivePath() {
    return platform::DeviceRoot() + "/registry.reg";
}

// Held by a writer across its read, change and rename of the hive, so that two processes never
// both change the version they read: the second reads what the first wrote.
class HiveWriteLock {
public:
    HiveWriteLock() {
        const std::string path = HivePath() + ".lock";
        platform::detail::MakeDirectories(platform::detail::ParentDirectory(path));
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~HiveWriteLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    HiveWriteLock(const HiveWriteLock&) = delete;
    HiveWriteLock& operator=(const HiveWriteLock&) = delete;

private:
    int fd_ = -1;
};

constexpr std::size_t kMostHiveBytes = 1 << 20;

// Whether the device can read the hive file: a missing one is an empty hive; one it cannot
// read (not a regular file, too large, binary) gives the defaults and is never rewritten.
enum class HiveFile { absent, readable, unreadable };

HiveFile ReadHiveText(std::string& text) {
    text.clear();
    const std::string path = HivePath();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? HiveFile::absent : HiveFile::unreadable;
    if (!S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kMostHiveBytes) {
        return HiveFile::unreadable;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    text = content.str().substr(0, kMostHiveBytes);
    if (!platform::detail::DecodeHiveText(text)) {
        text.clear();
        return HiveFile::unreadable;
    }
    return HiveFile::readable;
}

Hive LoadHive(HiveFile* state = nullptr) {
    // What a writer killed half way left behind goes with the next read.
    platform::detail::RemoveStaleStaging(platform::detail::FinalTarget(HivePath()));
    std::string text;
    const HiveFile file = ReadHiveText(text);
    if (state) *state = file;
    return platform::detail::ParseHive(text);
}

bool StoreHive(const Hive& hive) {
    const std::string path = HivePath();
    platform::detail::MakeDirectories(platform::detail::ParentDirectory(path));
    return platform::detail::ReplaceFileAtomically(path, platform::detail::SerializeHive(hive));
}

const std::u16string* KeyPathOf(HKEY key) {
    return OpenKeys().Find(key);
}

LONG OpenHandle(const std::u16string& path, HKEY* result) {
    *result = OpenKeys().Add<HKEY>(std::make_unique<std::u16string>(path));
    return ERROR_SUCCESS;
}

// The full path of a subkey of HKEY_LOCAL_MACHINE, or empty for another root.
std::u16string FullPath(HKEY root, LPCWSTR subKey) {
    if (root != HKEY_LOCAL_MACHINE) return {};
    std::u16string path(kMachineRoot);
    path += u'\\';
    path += subKey ? subKey : u"";
    return platform::detail::NormalizeKeyPath(path);
}

}  // namespace

LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD, DWORD, HKEY* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::u16string path = FullPath(root, subKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    if (!platform::detail::KeyExists(LoadHive(), path)) return ERROR_FILE_NOT_FOUND;
    return OpenHandle(path, result);
}

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD, LPWSTR, DWORD, DWORD, SECURITY_ATTRIBUTES*,
                     HKEY* result, DWORD* disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::u16string path = FullPath(root, subKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    if (!platform::detail::StorableName(path)) return ERROR_INVALID_PARAMETER;
    const HiveWriteLock lock;
    HiveFile file = HiveFile::readable;
    Hive hive = LoadHive(&file);
    const bool exists = platform::detail::KeyExists(hive, path);
    if (!exists) {
        if (file == HiveFile::unreadable) return ERROR_WRITE_FAULT;
        hive.keys.push_back({path, {}, {}});
        if (!StoreHive(hive)) return ERROR_WRITE_FAULT;
    }
    if (disposition) *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    return OpenHandle(path, result);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD*, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
    const std::u16string* path = KeyPathOf(key);
    if (!path) return ERROR_INVALID_HANDLE;
    Hive hive = LoadHive();
    HiveKey* section = platform::detail::FindKey(hive, *path);
    const auto* value =
        section ? platform::detail::FindValue(*section, valueName ? valueName : u"") : nullptr;
    if (!value) return ERROR_FILE_NOT_FOUND;
    const std::size_t needed = (value->data.size() + 1) * sizeof(char16_t);
    if (type) *type = REG_SZ;
    if (!dataSize) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    if (data && *dataSize < needed) {
        *dataSize = static_cast<DWORD>(needed);
        return ERROR_MORE_DATA;
    }
    if (data) {
        std::memcpy(data, value->data.c_str(), needed);
    }
    *dataSize = static_cast<DWORD>(needed);
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data,
                    DWORD dataSize) {
    const std::u16string* path = KeyPathOf(key);
    if (!path) return ERROR_INVALID_HANDLE;
    if (type != REG_SZ || (!data && dataSize)) return ERROR_INVALID_PARAMETER;
    const std::u16string name = valueName ? valueName : u"";
    if (!platform::detail::StorableName(name)) return ERROR_INVALID_PARAMETER;
    std::u16string text;
    for (DWORD i = 0; i + 1 < dataSize; i += 2) {
        char16_t unit = 0;
        std::memcpy(&unit, data + i, sizeof unit);
        if (unit == 0) break;
        text += unit;
    }
    const HiveWriteLock lock;
    HiveFile file = HiveFile::readable;
    Hive hive = LoadHive(&file);
    if (file == HiveFile::unreadable) return ERROR_WRITE_FAULT;
    HiveKey* section = platform::detail::FindKey(hive, *path);
    if (!section) {
        hive.keys.push_back({*path, {}, {}});
        section = &hive.keys.back();
    }
    platform::detail::SetValue(*section, name, text);
    return StoreHive(hive) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LONG RegCloseKey(HKEY key) {
    return OpenKeys().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
