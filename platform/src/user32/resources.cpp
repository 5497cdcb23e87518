// The program's resource tables, by instance, and the loads of resources.h.
#include <algorithm>
#include <cstring>
#include <memory>

#include "host/handle_table.h"

#include "platform/user32/message_loop.h"
#include "platform/user32/resources.h"

namespace {

using platform::detail::HandleTable;

struct Module {
    const ResourceTable* resources;
};

HandleTable<Module>& Modules() {
    static HandleTable<Module> modules(0x400000);
    return modules;
}

const ResourceTable* ModuleOf(HINSTANCE instance) {
    const Module* module = Modules().Find(instance);
    return module ? module->resources : nullptr;
}

UINT IdOf(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name)) : 0;
}

template <typename T>
const T* FindById(std::span<const T> items, UINT id) {
    const auto it =
        std::find_if(items.begin(), items.end(), [id](const T& r) { return r.id == id; });
    return it == items.end() ? nullptr : &*it;
}

// A loaded icon: a solid square of one colour.
struct Icon {
    Color color;
    char16_t glyph;
};

HandleTable<Icon>& Icons() {
    static HandleTable<Icon> icons(0x5000);
    return icons;
}

// Only tables that LoadAcceleratorsW handed out are read.
bool IsKnownTable(const AcceleratorTableResource* table) {
    return Modules().FindIf([table](const Module& module) {
        for (const auto& t : module.resources->accelerators) {
            if (&t == table) return true;
        }
        return false;
    }) != nullptr;
}

}  // namespace

HINSTANCE RegisterModule(const ResourceTable* resources) {
    if (!resources) return nullptr;
    const auto known = Modules().FindIf<HINSTANCE>(
        [resources](const Module& module) { return module.resources == resources; });
    return known ? known : Modules().Add<HINSTANCE>(std::make_unique<Module>(Module{resources}));
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int capacity) {
    const ResourceTable* module = ModuleOf(instance);
    if (!module || !buffer || capacity <= 0) return 0;
    const StringResource* s = FindById(module->strings, id);
    if (!s) {
        buffer[0] = 0;
        return 0;
    }
    int n = 0;
    while (s->text[n] && n + 1 < capacity) {
        buffer[n] = s->text[n];
        ++n;
    }
    buffer[n] = 0;
    return n;
}

HICON LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int, int, UINT) {
    const ResourceTable* module = ModuleOf(instance);
    if (!module || type != IMAGE_ICON) return nullptr;
    const IconResource* icon = FindById(module->icons, IdOf(name));
    if (!icon) return nullptr;
    return Icons().Add<HICON>(std::make_unique<Icon>(Icon{icon->color, icon->glyph}));
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return LoadImageW(instance, name, IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR);
}

BOOL DestroyIcon(HICON icon) {
    return Icons().Remove(icon) ? TRUE : FALSE;
}

Color IconColor(HICON icon) {
    const Icon* found = Icons().Find(icon);
    return found ? found->color : Color::white;
}

char16_t IconGlyph(HICON icon) {
    const Icon* found = Icons().Find(icon);
    return found ? found->glyph : u'\u25A0';
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
    const ResourceTable* module = ModuleOf(instance);
    if (!module) return nullptr;
    const AcceleratorTableResource* table = FindById(module->accelerators, IdOf(name));
    return reinterpret_cast<HACCEL>(const_cast<AcceleratorTableResource*>(table));
}

int TranslateAcceleratorW(HWND window, HACCEL handle, MSG* msg) {
    if (!handle || !msg || !IsWindow(window)) return 0;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return 0;
    const auto* table = reinterpret_cast<const AcceleratorTableResource*>(handle);
    if (!IsKnownTable(table)) return 0;
    const bool ctrl = (msg->lParam & KF_CONTROL_STATE) != 0;
    const bool shift = (msg->lParam & KF_SHIFT_STATE) != 0;
    const bool alt = (msg->lParam & KF_ALT_STATE) != 0;
    for (const ACCEL& a : table->entries) {
        if (!(a.fVirt & FVIRTKEY) || a.key != msg->wParam) continue;
        if (ctrl != ((a.fVirt & FCONTROL) != 0) || shift != ((a.fVirt & FSHIFT) != 0) ||
            alt != ((a.fVirt & FALT) != 0)) {
            continue;
        }
        SendMessageW(window, WM_COMMAND, MAKELONG(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

namespace platform {

const MenuResource* FindMenuResource(HINSTANCE instance, UINT id) {
    const ResourceTable* module = ModuleOf(instance);
    return module ? FindById(module->menus, id) : nullptr;
}

const DialogResource* FindDialogResource(HINSTANCE instance, UINT id) {
    const ResourceTable* module = ModuleOf(instance);
    return module ? FindById(module->dialogs, id) : nullptr;
}

const MenuBarResource* FindMenuBarResource(HINSTANCE instance, UINT id) {
    const ResourceTable* module = ModuleOf(instance);
    return module ? FindById(module->menuBars, id) : nullptr;
}

const VersionResource* FindVersionResource(HINSTANCE instance) {
    const ResourceTable* module = ModuleOf(instance);
    return module ? module->version : nullptr;
}

}  // namespace platform
