#include "winsys/window_system.h"

#include <algorithm>

#include "host/ascii.h"
#include "host/device.h"
#include "platform/host/screen_layout.h"

namespace platform::detail {

WindowSystem& Windows() {
    static WindowSystem system;
    return system;
}

void ResetWindowSystem() {
    WindowSystem& ws = Windows();
    while (!ws.topLevels.empty()) {
        if (!Destroy(ws.topLevels.back())) ws.topLevels.pop_back();
    }
    ws.windows.Clear();
    ws.classes.clear();
    ws.queue.clear();
    ws.timers.clear();
    ws.modalStack.clear();
    ws.foreground = ws.focus = nullptr;
    ws.cursorKnown = false;
    ws.busy = false;
    ResetHandleTables();
}

WindowData* FindWindowData(HWND window) {
    return Windows().windows.Find(window);
}

const WindowClassInfo* FindClass(std::u16string_view name) {
    for (const auto& cls : Windows().classes) {
        if (EqualsIgnoringAsciiCase(cls->name, name)) return cls.get();
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
    cls->builtin = true;
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

HWND ParentOrOwner(HWND window) {
    const WindowData* data = FindWindowData(window);
    return data ? (data->parent ? data->parent : data->owner) : nullptr;
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

HBRUSH StockBrush(int object) {
    static HBRUSH const brushes[] = {
        reinterpret_cast<HBRUSH>(0x101), reinterpret_cast<HBRUSH>(0x102),
        reinterpret_cast<HBRUSH>(0x103), reinterpret_cast<HBRUSH>(0x104),
        reinterpret_cast<HBRUSH>(0x105)};
    return object >= 0 && object < 5 ? brushes[object] : nullptr;
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
