// Image lists of 16 x 16 icons; on this device an icon is a solid square of one colour.
#include <map>
#include <memory>
#include <vector>

#include "comctl32/image_list.h"
#include "platform/user32/resources.h"

namespace platform::detail {
namespace {

struct ImageList {
    std::vector<ImageLook> images;
};

std::map<std::uintptr_t, std::unique_ptr<ImageList>>& Lists() {
    static std::map<std::uintptr_t, std::unique_ptr<ImageList>> lists;
    return lists;
}
std::uintptr_t nextList = 0x7000;

ImageList* Find(HIMAGELIST list) {
    const auto it = Lists().find(reinterpret_cast<std::uintptr_t>(list));
    return it == Lists().end() ? nullptr : it->second.get();
}

}  // namespace

bool ImageOf(HIMAGELIST list, int index, ImageLook& look) {
    const ImageList* l = Find(list);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size())) return false;
    look = l->images[index];
    return true;
}

}  // namespace platform::detail

HIMAGELIST ImageList_Create(int cx, int cy, UINT, int, int) {
    if (cx <= 0 || cy <= 0) return nullptr;
    const std::uintptr_t handle = platform::detail::nextList++;
    platform::detail::Lists()[handle] = std::make_unique<platform::detail::ImageList>();
    return reinterpret_cast<HIMAGELIST>(handle);
}

int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
    auto* l = platform::detail::Find(list);
    if (!l || !icon) return -1;
    l->images.push_back({IconColor(icon), IconGlyph(icon)});
    return static_cast<int>(l->images.size()) - 1;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    const auto* l = platform::detail::Find(list);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    return platform::detail::Lists().erase(reinterpret_cast<std::uintptr_t>(list)) ? TRUE : FALSE;
}
