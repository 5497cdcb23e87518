// Resource and command numbers. Commands are 16-bit numbers dispatched from one table.
#pragma once

#include "platform/win_types.h"

// Strings.
inline constexpr UINT IDS_APP_TITLE = 1;
inline constexpr UINT IDS_APP_CLASS = 3;
// String 3 is also the name the MainWindow's class is registered under.
inline constexpr const char16_t* kMainWindowClass = u"PIV";
inline constexpr UINT IDS_TOOLS = 104;
inline constexpr UINT IDS_HELP = 40012;
inline constexpr UINT IDS_REFRESH = 40039;

// Menus, the menu bar and accelerators.
inline constexpr UINT IDR_MAIN_MENU = 102;  // the menu and the menu-bar resource
inline constexpr UINT IDR_ROW_MENU = 116;
inline constexpr UINT IDR_ACCELERATORS = 3;

// Icons.
inline constexpr UINT IDI_PROGRAM = 114;
inline constexpr UINT IDI_PRICE_UP = 126;
inline constexpr UINT IDI_PRICE_SAME = 127;
inline constexpr UINT IDI_PRICE_DOWN = 128;

// Dialogs.
inline constexpr UINT IDD_ABOUT = 103;
inline constexpr UINT IDD_QUOTE_OPTIONS = 104;
inline constexpr UINT IDD_SPEED_INSERT = 110;
inline constexpr UINT IDD_INTERNET_REFRESH = 111;
inline constexpr UINT IDD_SET_PROXY = 132;
inline constexpr UINT IDD_HOLDING = 140;

// Commands.
inline constexpr WORD IDM_CLOSE = 1;  // the navigation bar's ok button, Ctrl+Q
inline constexpr WORD IDM_TOOLS = 40001;
inline constexpr WORD IDM_ABOUT = 40003;
inline constexpr WORD IDM_REFRESH = 40005;
inline constexpr WORD IDM_QUOTE_OPTIONS = 40006;
inline constexpr WORD IDM_HELP_MENU = 40010;
inline constexpr WORD IDM_ROW_DELETE = 40018;
inline constexpr WORD IDM_ROW_INSERT = 40020;
inline constexpr WORD IDM_REFRESH_SETTINGS = 40024;
inline constexpr WORD IDM_ROW_CHART = 40041;
inline constexpr WORD IDM_HELP = 40042;
inline constexpr WORD IDM_MAKER_PAGE = 40044;
inline constexpr WORD IDM_INSERT = 40047;
inline constexpr WORD IDM_ROW_NEWS = 40051;
inline constexpr WORD IDM_USE_PROXY = 40052;
inline constexpr WORD IDM_MARKET_SUMMARY = 40055;
inline constexpr WORD IDM_CHART = 40059;
inline constexpr WORD IDM_NEWS = 40060;
inline constexpr WORD IDM_ROW_HOLDING = 40061;
