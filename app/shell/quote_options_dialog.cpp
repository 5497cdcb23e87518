#include "shell/quote_options_dialog.h"

#include "platform/comctl32/control_wrappers.h"
#include "platform/user32/message_box.h"
#include "resources/dialog_templates.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "shell/option_dialog.h"

namespace {

struct ColumnBox {
    int id;
    const char16_t* setting;
};

// There is no control 1011.
constexpr ColumnBox kBoxes[] = {
    {1001, u"Exchange"},    {1006, u"LastPrice"}, {1007, u"Change"},    {1008, u"PctChange"},
    {1009, u"Volume"},      {1002, u"PrevClose"}, {1003, u"EPS"},       {1004, u"PER"},
    {1005, u"LastTrdDate"}, {1012, u"HighPrice"}, {1013, u"LowPrice"},  {1014, u"YearHigh"},
    {1015, u"YearLow"},     {1017, u"CoName"},    {1016, u"SharesOut"}, {1020, u"MarketCap"},
    {1010, u"LastTrdTime"},
};

platform::ButtonCtrl Box(HWND dialog, int id) {
    return platform::ButtonCtrl(GetDlgItem(dialog, id));
}

void Start(HWND dialog) {
    for (const ColumnBox& box : kBoxes) Box(dialog, box.id).SetCheck(ReadSettingFlag(box.setting));
}

// A choice that cannot be stored still holds for this run (the settings keep it), and the user
// is told that it will not last.
void Apply(HWND dialog) {
    bool stored = true;
    for (const ColumnBox& box : kBoxes) {
        stored = WriteSettingFlag(box.setting, Box(dialog, box.id).GetCheck()) && stored;
    }
    if (!stored) MessageBoxW(mainWindow, u"Quote Options registry update failed", u"Error", MB_OK);
}

}  // namespace

INT_PTR QuoteOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static constexpr OptionDialog kDialog = {Start, Apply};
    return RunOptionDialog(kDialog, dialog, message, wParam, lParam);
}
