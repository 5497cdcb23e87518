#include "platform/advapi32/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "advapi32/hive_store.h"
#include "advapi32/reg_hive.h"
#include "host/handle_table.h"
#include "host/host_fs.h"
#include "platform/host/device_root.h"

namespace {

using platform::detail::Hive;
using platform::detail::HiveFile;
using platform::detail::HiveKey;
using platform::detail::HivePath;
using platform::detail::StoreHive;

constexpr std::u16string_view kMachineRoot = u"HKEY_LOCAL_MACHINE";

// Open keys, each naming its full key path.
platform::detail::HandleTable<std::u16string>& OpenKeys() {
    static platform::detail::HandleTable<std::u16string> keys(0x1000);
    return keys;
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
    if (!platform::detail::KeyExists(platform::detail::CurrentHive(), path))
        return ERROR_FILE_NOT_FOUND;
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
    Hive hive = platform::detail::CurrentHive(&file);
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
    const HiveKey* section = platform::detail::FindKey(platform::detail::CurrentHive(), *path);
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
    Hive hive = platform::detail::CurrentHive(&file);
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
