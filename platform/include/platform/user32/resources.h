// The program's resources, handed to the platform as tables and loaded by id: strings, menus,
// menu bars, accelerator tables, icons, dialog templates and the version block.
#pragma once

#include <span>

#include "platform/host/cell_grid.h"
#include "platform/user32/message_loop.h"

struct StringResource {
    UINT id;
    LPCWSTR text;
};

// A menu item: text with "&" before its mnemonic; a null text is a separator. An item with
// a popup opens it instead of sending a command.
struct MenuItemResource {
    LPCWSTR text;
    UINT command;
    std::span<const MenuItemResource> popup = {};
};

struct MenuResource {
    UINT id;
    std::span<const MenuItemResource> items;
};

// A menu-bar button: its label's string id, the command it sends, and for a drop-down
// button the index of the popup it opens in the bar's menu.
inline constexpr int kNoPopup = -1;
inline constexpr BYTE TBSTYLE_BUTTON = 0x00;
inline constexpr BYTE TBSTYLE_DROPDOWN = 0x08;
inline constexpr BYTE TBSTYLE_AUTOSIZE = 0x10;
inline constexpr BYTE TBSTATE_ENABLED = 0x04;
inline constexpr int I_IMAGENONE = -2;

struct MenuBarButtonResource {
    int image;
    UINT command;
    BYTE state;
    BYTE style;
    UINT labelString;
    int popupIndex;
};

struct MenuBarResource {
    UINT id;
    UINT menuId;  // the menu whose popups the drop-down buttons open
    std::span<const MenuBarButtonResource> buttons;
};

struct AcceleratorTableResource {
    UINT id;
    std::span<const ACCEL> entries;
};

// Icons of this device are solid squares of one colour.
// An icon is a coloured glyph a cell wide; icons that tell things apart have glyphs of their
// own, so that colour is never the only sign.
struct IconResource {
    UINT id;
    Color color;
    char16_t glyph = u'\u25A0';
};

// Dialog templates, in dialog units (4 across and 8 down a terminal cell).
struct DialogItemResource {
    int id;
    LPCWSTR className;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "msctls_updown32", ...
    LPCWSTR text;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
};

struct DialogResource {
    UINT id;
    LPCWSTR title;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    LPCWSTR font;
    WORD pointSize;
    std::span<const DialogItemResource> items;
};

struct VersionString {
    LPCWSTR name;
    LPCWSTR value;
};

struct VersionResource {
    WORD language;
    WORD codePage;
    std::span<const VersionString> strings;
};

struct ResourceTable {
    std::span<const StringResource> strings;
    std::span<const MenuResource> menus;
    std::span<const MenuBarResource> menuBars;
    std::span<const AcceleratorTableResource> accelerators;
    std::span<const IconResource> icons;
    std::span<const DialogResource> dialogs;
    const VersionResource* version = nullptr;
};

// Registers a program's resources; the handle is its instance, from which everything loads.
HINSTANCE RegisterModule(const ResourceTable* resources);

// Copies string `id`, cut to capacity - 1; returns the characters copied (0: none).
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int capacity);

inline constexpr UINT IMAGE_ICON = 1;
inline constexpr UINT LR_DEFAULTCOLOR = 0;
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HICON LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
BOOL DestroyIcon(HICON icon);
// The colour and the glyph of an icon, for the controls that draw it.
Color IconColor(HICON icon);
char16_t IconGlyph(HICON icon);

namespace platform {
const MenuResource* FindMenuResource(HINSTANCE instance, UINT id);
const DialogResource* FindDialogResource(HINSTANCE instance, UINT id);
const MenuBarResource* FindMenuBarResource(HINSTANCE instance, UINT id);
const VersionResource* FindVersionResource(HINSTANCE instance);
}  // namespace platform
