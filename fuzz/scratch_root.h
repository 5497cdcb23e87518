// A device root of the fuzz run's own, in memory where the machine has a tmpfs: targets that
// go through the registry's files read and write there.
#pragma once

#include <string>

namespace tickwell_fuzz {

// Makes the root, points TICKWELL_DEVICE at it and removes it when the process exits.
const std::string& UseScratchDeviceRoot();

}  // namespace tickwell_fuzz
