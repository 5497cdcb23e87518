#include "hive_checks.h"

#include "fuzz_check.h"

namespace tickwell_fuzz {

using platform::detail::Hive;
using platform::detail::HiveKey;
using platform::detail::HiveLine;

void CheckValuesKept(Hive& from, Hive& to, std::u16string_view changedKey,
                     std::u16string_view changed) {
    for (HiveKey& key : from.keys) {
        HiveKey* first = platform::detail::FindKey(from, key.path);
        const bool inChangedKey = platform::detail::SameName(key.path, changedKey);
        for (const HiveLine& line : key.lines) {
            if (!line.isValue) continue;
            if (inChangedKey && platform::detail::SameName(line.name, changed)) continue;
            const HiveLine* value = platform::detail::FindValue(*first, line.name);
            FUZZ_CHECK(value != nullptr);
            HiveKey* kept = platform::detail::FindKey(to, key.path);
            FUZZ_CHECK(kept != nullptr);
            const HiveLine* keptValue = platform::detail::FindValue(*kept, line.name);
            FUZZ_CHECK(keptValue != nullptr && keptValue->data == value->data);
        }
    }
}

}  // namespace tickwell_fuzz
