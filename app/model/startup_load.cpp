#include "model/startup_load.h"

#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "platform/kernel32/files.h"
#include "platform/user32/message_box.h"
#include "settings/proxy_settings.h"
#include "settings/settings_store.h"

namespace {

void SeedFirstPortfolio(HANDLE file) {
    ClearPortfolio();
    AppendQuoteRow(u"MSFT", u"U");
    SavePortfolio(file);
    for (const char16_t* name : kFirstStartDefaults) WriteSettingFlag(name, true);
}

}  // namespace

int LoadPortfolioAtStartup() {
    ForgetUnstoredSettings();
    // The marker is set before the file is opened, so the seed happens at most once.
    const bool firstStart = !SettingExists(kFirstStartMarker);
    if (firstStart) WriteSettingText(kFirstStartMarker, u"1");

    HANDLE file = OpenPortfolioFile(PortfolioFileMode::load);
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE) {
        MessageBoxW(nullptr, u"Could not find file size", u"Error", MB_OK);
        CloseHandle(file);
        SetPortfolioFileUnread(true);
        return 0;
    }
    SetPortfolioFileUnread(false);
    if (firstStart && size == 0) {
        SeedFirstPortfolio(file);
    } else if (!LoadPortfolio(file)) {
        SetPortfolioFileUnread(true);
    }
    ApplyColumnDefaultsWhenNone();
    ReadProxySettings();
    CloseHandle(file);
    return 1;
}
