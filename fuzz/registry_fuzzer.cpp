// The registry's calls on a hive file of any text: queries with buffers too small say so and
// write nothing, queries with room write exactly the value, the viewer's proxy settings stay
// inside their fields, and a value written through the registry keeps every value the hive
// held.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "advapi32/reg_hive.h"
#include "fuzz_check.h"
#include "hive_checks.h"
#include "platform/advapi32/registry.h"
#include "scratch_root.h"
#include "settings/proxy_settings.h"

namespace {

using platform::detail::Hive;
using platform::detail::HiveKey;
using platform::detail::HiveLine;

constexpr std::u16string_view kMachinePrefix = u"HKEY_LOCAL_MACHINE\\";
constexpr unsigned char kCanary = 0xA5;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One value queried with one unit too little room, and with just enough.
void QueryWithSmallBuffers(HKEY key, const HiveLine& value) {
    const std::size_t needed = (value.data.size() + 1) * sizeof(char16_t);
    std::vector<unsigned char> buffer(needed + 16, kCanary);
    DWORD size = static_cast<DWORD>(needed - sizeof(char16_t));
    FUZZ_CHECK(RegQueryValueExW(key, value.name.c_str(), nullptr, nullptr, buffer.data(), &size) ==
               ERROR_MORE_DATA);
    FUZZ_CHECK(size == needed);
    for (unsigned char b : buffer) FUZZ_CHECK(b == kCanary);
    size = static_cast<DWORD>(needed);
    FUZZ_CHECK(RegQueryValueExW(key, value.name.c_str(), nullptr, nullptr, buffer.data(), &size) ==
               ERROR_SUCCESS);
    FUZZ_CHECK(std::memcmp(buffer.data(), value.data.c_str(), needed) == 0);
    for (std::size_t i = needed; i < buffer.size(); ++i) FUZZ_CHECK(buffer[i] == kCanary);
}

template <std::size_t W>
void CheckTerminated(const char16_t (&field)[W]) {
    FUZZ_CHECK(std::char_traits<char16_t>::length(field) < W);
}

void ThroughTheRegistry(const std::string& text, Hive& parsed) {
    const std::string path = tickwell_fuzz::UseScratchDeviceRoot() + "/registry.reg";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;

    proxySettings = {};
    ReadProxySettings();
    CheckTerminated(proxySettings.proxyHost);
    CheckTerminated(proxySettings.proxyPort);

    for (HiveKey& key : parsed.keys) {
        // A path holding a NUL names no key a caller can open.
        if (key.path.rfind(kMachinePrefix, 0) != 0 || key.path.size() == kMachinePrefix.size() ||
            key.path.find(u'\0') != std::u16string::npos)
            continue;
        const std::u16string subKey = key.path.substr(kMachinePrefix.size());
        HKEY handle = nullptr;
        FUZZ_CHECK(RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, 0, &handle) ==
                   ERROR_SUCCESS);
        HiveKey* first = platform::detail::FindKey(parsed, key.path);
        // One value a run, picked by the text's length: every query reads the whole hive.
        std::vector<const HiveLine*> values;
        for (const HiveLine& line : first->lines) {
            // A name holding a NUL is no name a caller can pass.
            if (line.isValue && line.name.find(u'\0') == std::u16string::npos)
                values.push_back(&line);
        }
        if (!values.empty()) {
            const HiveLine* line = values[text.size() % values.size()];
            QueryWithSmallBuffers(handle, *platform::detail::FindValue(*first, line->name));
        }
        const char16_t added[] = u"1";
        if (RegSetValueExW(handle, u"FuzzAdded", 0, REG_SZ, reinterpret_cast<const BYTE*>(added),
                           sizeof added) == ERROR_SUCCESS) {
            Hive rewritten = platform::detail::ParseHive(ReadFile(path));
            tickwell_fuzz::CheckValuesKept(parsed, rewritten, key.path, u"FuzzAdded");
        }
        RegCloseKey(handle);
        break;  // one key a run: each call reads the whole hive
    }
}

}  // namespace

// A hive the device cannot read gives no key, and no write replaces it.
void ThroughAnUnreadableHive(const std::string& text) {
    const std::string path = tickwell_fuzz::UseScratchDeviceRoot() + "/registry.reg";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    HKEY handle = nullptr;
    FUZZ_CHECK(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\FuzzNew", 0, nullptr, 0, 0, nullptr,
                               &handle, nullptr) != ERROR_SUCCESS);
    FUZZ_CHECK(ReadFile(path) == text);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string decoded = text;
    if (!platform::detail::DecodeHiveText(decoded)) {
        ThroughAnUnreadableHive(text);
        return 0;
    }
    Hive hive = platform::detail::ParseHive(decoded);
    ThroughTheRegistry(text, hive);
    return 0;
}
