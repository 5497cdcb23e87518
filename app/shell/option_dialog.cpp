#include "shell/option_dialog.h"

#include "resources/dialog_templates.h"

namespace {

INT_PTR OnInitDialog(const OptionDialog& options, HWND dialog) {
    options.start(dialog);
    return 0;
}

INT_PTR OnCommand(const OptionDialog& options, HWND dialog, UINT message, WPARAM wParam,
                  LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDC_APPLY:
            if (options.accepts && !options.accepts(dialog)) return 0;
            options.apply(dialog);
            EndDialog(dialog, IDC_APPLY);
            return 0;
        case IDC_CANCEL_OPTIONS: EndDialog(dialog, IDC_CANCEL_OPTIONS); return 0;
        default: return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

}  // namespace

INT_PTR RunOptionDialog(const OptionDialog& options, HWND dialog, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog(options, dialog);
        case WM_COMMAND: return OnCommand(options, dialog, message, wParam, lParam);
        default: return 0;
    }
}
