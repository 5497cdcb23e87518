#pragma once

#include "platform/comctl32/controls.h"
#include "platform/user32/resources.h"

namespace platform::detail {

struct ImageLook {
    Color color;
    char16_t glyph;
};
// The colour and glyph of image `index` of a list; false when there is no such image.
bool ImageOf(HIMAGELIST list, int index, ImageLook& look);

}  // namespace platform::detail
