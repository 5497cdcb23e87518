#include "scratch_root.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

namespace tickwell_fuzz {
namespace {

std::string root;

void RemoveRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

}  // namespace

const std::string& UseScratchDeviceRoot() {
    if (!root.empty()) return root;
    for (const char* base : {"/dev/shm", "/tmp"}) {
        std::string pattern = std::string(base) + "/tickwell-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data())) {
            root = pattern;
            break;
        }
    }
    ::setenv("TICKWELL_DEVICE", root.c_str(), 1);
    std::atexit(RemoveRoot);
    return root;
}

}  // namespace tickwell_fuzz
