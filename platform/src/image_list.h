#pragma once

#include "platform/controls.h"
#include "platform/resources.h"

namespace platform::detail {

// The colour of image `index` of a list; false when there is no such image.
bool ImageColor(HIMAGELIST list, int index, Color& color);

}  // namespace platform::detail
