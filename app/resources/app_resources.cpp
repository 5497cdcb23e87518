#include "resources/app_resources.h"

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"

namespace {

const StringResource kStrings[] = {
    {IDS_APP_TITLE, u"PIV"}, {IDS_APP_CLASS, kMainWindowClass}, {IDS_TOOLS, u"Tools"},
    {IDS_HELP, u"Help"},     {IDS_REFRESH, u"Refresh"},
};

const MenuItemResource kToolsMenu[] = {
    {u"&Refresh Settings", IDM_REFRESH_SETTINGS},
    {nullptr, 0},
    {u"&Quote Options", IDM_QUOTE_OPTIONS},
    {nullptr, 0},
    {u"Insert", IDM_INSERT},
    {nullptr, 0},
    {u"Use Proxy Server", IDM_USE_PROXY},
    {nullptr, 0},
    {u"News Headlines", IDM_NEWS},
    {u"Chart", IDM_CHART},
    {u"Market Summary", IDM_MARKET_SUMMARY},
};

const MenuItemResource kHelpMenu[] = {
    {u"Help", IDM_HELP},
    {u"Quellmark on the web", IDM_MAKER_PAGE},
    {nullptr, 0},
    {u"About", IDM_ABOUT},
};

// Menu 102: its first item stands for the bar's plain Refresh button; popups 1 and 2 are
// the drop-downs of the Tools and Help buttons.
const MenuItemResource kMainMenu[] = {
    {u"Refresh", IDM_REFRESH},
    {u"Tools", IDM_TOOLS, kToolsMenu},
    {u"Help", IDM_HELP_MENU, kHelpMenu},
};

const MenuItemResource kRowMenuItems[] = {
    {u"Insert", IDM_ROW_INSERT},
    {u"Delete", IDM_ROW_DELETE},
    {nullptr, 0},
    {u"News Headlines", IDM_ROW_NEWS},
    {u"Chart", IDM_ROW_CHART},
    {u"Market Summary", IDM_MARKET_SUMMARY},
    {u"Holding...", IDM_ROW_HOLDING},
};

const MenuItemResource kRowMenu[] = {{u"Row", 0, kRowMenuItems}};

const MenuResource kMenus[] = {{IDR_MAIN_MENU, kMainMenu}, {IDR_ROW_MENU, kRowMenu}};

constexpr BYTE kAutoSize = TBSTYLE_AUTOSIZE;
const MenuBarButtonResource kMenuBarButtons[] = {
    {I_IMAGENONE, IDM_REFRESH, TBSTATE_ENABLED, TBSTYLE_BUTTON | kAutoSize, IDS_REFRESH, kNoPopup},
    {I_IMAGENONE, IDM_TOOLS, TBSTATE_ENABLED, TBSTYLE_DROPDOWN | kAutoSize, IDS_TOOLS, 1},
    {I_IMAGENONE, IDM_HELP_MENU, TBSTATE_ENABLED, TBSTYLE_DROPDOWN | kAutoSize, IDS_HELP, 2},
};

const MenuBarResource kMenuBars[] = {{IDR_MAIN_MENU, IDR_MAIN_MENU, kMenuBarButtons}};

const ACCEL kAccelerators[] = {
    {FVIRTKEY | FNOINVERT | FCONTROL, 'A', IDM_ABOUT},
    {FVIRTKEY | FNOINVERT | FCONTROL, 'Q', IDM_CLOSE},
};

const AcceleratorTableResource kAcceleratorTables[] = {{IDR_ACCELERATORS, kAccelerators}};

const IconResource kIcons[] = {
    {IDI_PROGRAM, Color::cyan},
    {IDI_PRICE_UP, Color::green, u'\u25B2'},
    {IDI_PRICE_SAME, Color::blue, u'\u25A0'},
    {IDI_PRICE_DOWN, Color::red, u'\u25BC'},
};

const VersionString kVersionStrings[] = {
    {u"Comments", u""},
    {u"CompanyName", u"Quellmark"},
    {u"FileDescription", u"Tickwell"},
    {u"FileVersion", u"3, 0, 0, 3"},
    {u"InternalName", u"Tickwell"},
    {u"LegalTrademarks", u""},
    {u"OriginalFilename", u"PIV.exe"},
    {u"PrivateBuild", u"20061202.1"},
    {u"ProductName", u"Tickwell"},
    {u"ProductVersion", u"3, 0, 0, 3"},
    {u"SpecialBuild", u""},
};

// English (Canada), Unicode.
const VersionResource kVersion = {0x1009, 1200, kVersionStrings};

}  // namespace

const ResourceTable& AppResources() {
    static const ResourceTable table = {
        kStrings, kMenus, kMenuBars, kAcceleratorTables, kIcons, DialogTemplates(), &kVersion,
    };
    return table;
}
