#include "platform/host/device_root.h"

#include <cstdlib>

#include "platform/host/utf.h"

namespace platform {

std::string DeviceRoot() {
    if (const char* device = std::getenv("TICKWELL_DEVICE"); device && *device) return device;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
        return std::string(data) + "/tickwell";
    }
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/tickwell";
}

std::string HostPath(LPCWSTR devicePath) {
    if (!devicePath) return {};
    std::string path = ToUtf8(devicePath);
    std::string result = DeviceRoot();
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") return {};
        if (!part.empty() && part != ".") result += "/" + part;
        start = end + 1;
    }
    return result;
}

}  // namespace platform
