// libcurl, loaded at the first Internet session rather than when the program starts: a viewer
// that is only looked at never maps libcurl and the thirty libraries it brings with it, which
// were most of the time a start took.
#pragma once

#include <curl/curl.h>

namespace platform::detail {

struct CurlCalls {
    CURLcode (*global_init)(long flags);
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL* easy, CURLoption option, ...);
    CURLcode (*easy_perform)(CURL* easy);
    CURLcode (*easy_getinfo)(CURL* easy, CURLINFO info, ...);
    void (*easy_cleanup)(CURL* easy);
    curl_slist* (*slist_append)(curl_slist* list, const char* text);
    void (*slist_free_all)(curl_slist* list);
};

// The calls, with the library initialised; null when it cannot be loaded or initialised.
const CurlCalls* Curl();

}  // namespace platform::detail
