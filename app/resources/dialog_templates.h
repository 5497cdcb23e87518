// The dialog templates: 103 About, 104 Quote Options, 110 Speed Insert, 111 Internet Refresh,
// 132 Set Proxy Server, 140 Holding. Positions and sizes in dialog units.
#pragma once

#include <span>

#include "platform/user32/resources.h"

// Control ids of the templates.
inline constexpr int IDC_EXCHANGE_COMBO = 1001;
inline constexpr int IDC_SYMBOLS_EDIT = 1024;
inline constexpr int IDC_REFRESH_MINUTES = 1022;
inline constexpr int IDC_REFRESH_SPIN = 1068;
inline constexpr int IDC_USE_PROXY = 1075;
inline constexpr int IDC_PROXY_SERVER = 1074;
inline constexpr int IDC_PROXY_PORT = 1024;
inline constexpr int IDC_APPLY = 1018;
inline constexpr int IDC_CANCEL_OPTIONS = 1019;
inline constexpr int IDC_HOLDING_ROW = 1080;
inline constexpr int IDC_HOLDING_SHARES = 1081;
inline constexpr int IDC_HOLDING_PRICE = 1082;
inline constexpr int IDC_HOLDING_UNIT = 1083;
inline constexpr int IDC_HOLDING_REMOVE = 1084;

std::span<const DialogResource> DialogTemplates();
