#include "winsys/window_system.h"

#include <algorithm>

#include "host/device.h"
#include "platform/aygshell/shell.h"

namespace platform::detail {

namespace {
Device* currentDevice = nullptr;
std::unique_ptr<Device> ownedDevice;
std::unique_ptr<Device> (*deviceFactory)() = nullptr;
}  // namespace

Device* CurrentDevice() {
    if (!currentDevice && deviceFactory) {
        auto* factory = deviceFactory;
        deviceFactory = nullptr;
        ownedDevice = factory();
        currentDevice = ownedDevice.get();
    }
    return currentDevice;
}

void SetCurrentDevice(Device* device) {
    currentDevice = device;
}
void SetDeviceFactory(std::unique_ptr<Device> (*factory)()) {
    deviceFactory = factory;
}

void CloseOwnedDevice() {
    if (currentDevice == ownedDevice.get()) currentDevice = nullptr;
    ownedDevice.reset();
    deviceFactory = nullptr;
}

WindowSystem& Windows() {
    static WindowSystem system;
    return system;
}

void ResetWindowSystem() {
    WindowSystem& ws = Windows();
    while (!ws.topLevels.empty()) DestroyWindow(ws.topLevels.back());
    ws.windows.clear();
    ws.classes.clear();
    ws.queue.clear();
    ws.timers.clear();
    ws.modalStack.clear();
    ws.foreground = ws.focus = nullptr;
    ws.cursorKnown = false;
    ws.busy = false;
}

WindowData* FindWindowData(HWND window) {
    WindowSystem& ws = Windows();
    const auto it = ws.windows.find(reinterpret_cast<std::uintptr_t>(window));
    return it == ws.windows.end() ? nullptr : it->second.get();
}

const WindowClassInfo* FindClass(std::u16string_view name) {
    for (const auto& cls : Windows().classes) {
        if (cls->name.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            const auto lower = [](char16_t c) {
                return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
            };
            same = lower(cls->name[i]) == lower(name[i]);
        }
        if (same) return cls.get();
    }
    return nullptr;
}

const WindowClassInfo* RegisterBuiltinClass(std::u16string_view name, WNDPROC proc, DrawProc draw,
                                            HBRUSH background) {
    if (const WindowClassInfo* existing = FindClass(name)) return existing;
    auto cls = std::make_unique<WindowClassInfo>();
    cls->name = std::u16string(name);
    cls->proc = proc;
    cls->draw = draw;
    cls->background = background;
    Windows().classes.push_back(std::move(cls));
    return Windows().classes.back().get();
}

HWND TopLevelOf(HWND window) {
    WindowData* data = FindWindowData(window);
    while (data && data->parent) data = FindWindowData(data->parent);
    return data ? data->handle : nullptr;
}

bool IsWithin(HWND window, HWND ancestor) {
    for (WindowData* data = FindWindowData(window); data;) {
        if (data->handle == ancestor) return true;
        data = FindWindowData(data->parent ? data->parent : data->owner);
    }
    return false;
}

RECT ScreenRect(HWND window) {
    WindowData* data = FindWindowData(window);
    if (!data) return {};
    RECT r = data->rect;
    for (WindowData* p = FindWindowData(data->parent); p; p = FindWindowData(p->parent)) {
        r.left += p->rect.left;
        r.right += p->rect.left;
        r.top += p->rect.top;
        r.bottom += p->rect.top;
    }
    return r;
}

CellRect ScreenCells(HWND window) {
    const RECT r = ScreenRect(window);
    return {PixelToColumn(r.left), PixelToRow(r.top), PixelToColumn(r.right), PixelToRow(r.bottom)};
}

int ScreenWidth() {
    Device* device = CurrentDevice();
    return (device ? device->Columns() : 80) * kCellWidth;
}

int ScreenHeight() {
    Device* device = CurrentDevice();
    return (device ? device->Rows() : 30) * kCellHeight;
}

RECT DesktopRect() {
    return {0, kNavigationBarHeight, ScreenWidth(),
            std::max<LONG>(kNavigationBarHeight, ScreenHeight() - kMenuBarHeight)};
}

void Activate(HWND window) {
    WindowSystem& ws = Windows();
    const HWND previous = ws.foreground;
    if (previous == window) return;
    ws.foreground = window;
    if (WindowData* data = FindWindowData(window)) {
        // The window comes to the top, its owned windows above it.
        auto& z = ws.topLevels;
        z.erase(std::remove(z.begin(), z.end(), window), z.end());
        z.push_back(window);
        for (HWND owned : std::vector<HWND>(z)) {
            WindowData* o = FindWindowData(owned);
            if (o && o->owner == window) {
                z.erase(std::remove(z.begin(), z.end(), owned), z.end());
                z.push_back(owned);
            }
        }
        ws.focus = data->lastFocus && IsWindow(data->lastFocus) ? data->lastFocus : window;
    }
    if (IsWindow(previous)) {
        SendMessageW(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    }
    if (IsWindow(window)) {
        SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
}

HWND KeyTarget() {
    WindowSystem& ws = Windows();
    const HWND active = !ws.modalStack.empty() ? ws.modalStack.back() : ws.foreground;
    if (ws.focus && IsWindow(ws.focus) && (!active || IsWithin(ws.focus, active))) return ws.focus;
    return active;
}

LRESULT CopyTextOut(std::u16string_view text, WPARAM capacity, LPARAM buffer) {
    auto* out = reinterpret_cast<char16_t*>(buffer);
    if (!out || capacity == 0) return 0;
    const std::size_t n = std::min<std::size_t>(text.size(), capacity - 1);
    std::copy_n(text.begin(), n, out);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

std::u16string StripMnemonic(std::u16string_view text, char16_t* mnemonic) {
    std::u16string out;
    if (mnemonic) *mnemonic = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&' && mnemonic && !*mnemonic) *mnemonic = text[i];
        }
        out += text[i];
    }
    return out;
}

}  // namespace platform::detail
