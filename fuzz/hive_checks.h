// What a rewrite of the hive must keep: every value the first reading could read.
#pragma once

#include <string_view>

#include "advapi32/reg_hive.h"

namespace tickwell_fuzz {

// Every value `from` can read is read the same from `to`, but for `changed` under `changedKey`.
void CheckValuesKept(platform::detail::Hive& from, platform::detail::Hive& to,
                     std::u16string_view changedKey = {}, std::u16string_view changed = {});

}  // namespace tickwell_fuzz
