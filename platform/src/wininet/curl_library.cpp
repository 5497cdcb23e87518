#include "wininet/curl_library.h"

#include <dlfcn.h>

namespace platform::detail {
namespace {

template <typename Call>
bool Resolve(void* library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(::dlsym(library, name));
    return call != nullptr;
}

bool Load(CurlCalls& calls) {
    void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    return Resolve(library, "curl_global_init", calls.global_init) &&
           Resolve(library, "curl_easy_init", calls.easy_init) &&
           Resolve(library, "curl_easy_setopt", calls.easy_setopt) &&
           Resolve(library, "curl_easy_perform", calls.easy_perform) &&
           Resolve(library, "curl_easy_getinfo", calls.easy_getinfo) &&
           Resolve(library, "curl_easy_cleanup", calls.easy_cleanup) &&
           Resolve(library, "curl_slist_append", calls.slist_append) &&
           Resolve(library, "curl_slist_free_all", calls.slist_free_all) &&
           calls.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

}  // namespace

const CurlCalls* Curl() {
    // The library stays loaded for the rest of the run.
    static CurlCalls calls{};
    static const bool loaded = Load(calls);
    return loaded ? &calls : nullptr;
}

}  // namespace platform::detail
