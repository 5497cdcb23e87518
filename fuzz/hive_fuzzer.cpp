// The registry hive's reader and writer on any text, in memory: it parses, its text is stable
// after one rewrite, the rewrite keeps every value that was readable, and a value set in any
// key reads back while every other value stays.
#include <cstddef>
#include <cstdint>
#include <string>

#include "advapi32/reg_hive.h"
#include "fuzz_check.h"
#include "hive_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::detail::Hive;
    const std::string text(reinterpret_cast<const char*>(data), size);
    Hive hive = platform::detail::ParseHive(text);
    const std::string once = platform::detail::SerializeHive(hive);
    Hive again = platform::detail::ParseHive(once);
    FUZZ_CHECK(platform::detail::SerializeHive(again) == once);
    tickwell_fuzz::CheckValuesKept(hive, again);

    if (again.keys.empty()) return 0;
    auto& key = again.keys[size % again.keys.size()];
    const std::u16string path = key.path;
    platform::detail::SetValue(key, u"FuzzAdded", u"v\r\n\"1\"");
    Hive written = platform::detail::ParseHive(platform::detail::SerializeHive(again));
    tickwell_fuzz::CheckValuesKept(hive, written, path, u"FuzzAdded");
    const auto* added = platform::detail::FindKey(written, path);
    FUZZ_CHECK(added != nullptr);
    const auto* value = platform::detail::FindValue(*added, u"FuzzAdded");
    FUZZ_CHECK(value != nullptr && value->data == u"v\r\n\"1\"");
    return 0;
}
