#include "platform/kernel32/clock.h"

#include <ctime>

#include "host/device.h"

void GetLocalTime(SYSTEMTIME* out) {
    if (!out) return;
    std::int64_t ms = 0;
    if (auto* device = platform::detail::CurrentDevice()) {
        ms = device->LocalTimeMs();
    } else {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        ms = (static_cast<std::int64_t>(now) + local.tm_gmtoff) * 1000;
    }
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm t{};
    gmtime_r(&seconds, &t);
    *out = {static_cast<WORD>(t.tm_year + 1900), static_cast<WORD>(t.tm_mon + 1),
            static_cast<WORD>(t.tm_wday),        static_cast<WORD>(t.tm_mday),
            static_cast<WORD>(t.tm_hour),        static_cast<WORD>(t.tm_min),
            static_cast<WORD>(t.tm_sec),         static_cast<WORD>(ms % 1000)};
}
