// Every test process gets a device root of its own before any test runs, so that tests run
// side by side never share one (a device root holds one viewer at a time). DeviceTest gives
// each test another, empty one.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

struct ProcessDeviceRoot {
    ProcessDeviceRoot() {
        char pattern[] = "/tmp/tickwell-process-XXXXXX";
        if (const char* made = ::mkdtemp(pattern)) {
            path = made;
            ::setenv("TICKWELL_DEVICE", made, 1);
        }
    }
    ~ProcessDeviceRoot() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

const ProcessDeviceRoot root;

}  // namespace
