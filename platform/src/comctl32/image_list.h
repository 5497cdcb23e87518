#pragma once

#include "platform/comctl32/controls.h"
#include "platform/user32/resources.h"

namespace platform::detail {

// The colour of image `index` of a list; false when there is no such image.
bool ImageColor(HIMAGELIST list, int index, Color& color);

}  // namespace platform::detail
