// What a browser sends: Yahoo's edge throttles calls that do not look like a browser's. Pages
// (the cookie's) take a page's Accept; the API calls come from the site's own pages (`site`,
// its origin), with the session's cookie whenever there is one.
#pragma once

#include <string>
#include <vector>

namespace quotes {

inline std::vector<std::string> YahooPageHeaders() {
    return {"Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
            "Accept-Language: en-US,en;q=0.9"};
}

inline std::vector<std::string> YahooApiHeaders(const std::string& site,
                                                const std::string& cookie) {
    std::vector<std::string> headers = {"Accept: */*", "Accept-Language: en-US,en;q=0.9",
                                        "Origin: " + site, "Referer: " + site + "/"};
    if (!cookie.empty()) headers.push_back("Cookie: " + cookie);
    return headers;
}

}  // namespace quotes
