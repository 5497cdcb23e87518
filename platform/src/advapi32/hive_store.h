// The hive file of the device root: read, parsed and kept in memory until the file changes.
// Every read looks at the file's identity, size and modification time, so that each registry
// operation sees what another process wrote before it, but parses the text only when one of
// them changed. Staging files a killed writer left beside the hive go at a process's first read.
#pragma once

#include <string>

#include "advapi32/reg_hive.h"

namespace platform::detail {

// A missing hive is an empty one; one the device cannot read (not a regular file, over 1 MiB,
// binary) gives the defaults and is never rewritten.
enum class HiveFile { absent, readable, unreadable };

std::string HivePath();
// The hive as the file holds it now; valid until the next call of either function.
const Hive& CurrentHive(HiveFile* state = nullptr);
// Replaces the file atomically with `hive`; false when it could not be written.
bool StoreHive(const Hive& hive);

}  // namespace platform::detail
