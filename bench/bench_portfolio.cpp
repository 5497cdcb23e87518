#include "bench_portfolio.h"

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "model/exchange_table.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "platform/kernel32/files.h"
#include "settings/column_flags.h"
#include "settings/settings_store.h"

namespace {

struct Listing {
    const char* suffix;
    std::vector<const char*> entries;
};

#define U(suffix, ...) Listing{suffix, {__VA_ARGS__}},
#define X(suffix, kind, ...) Listing{suffix, {__VA_ARGS__}},
const std::vector<Listing> kListings = {
#include "../quoteserver/src/sim/universe.inc"
};
#undef U
#undef X

}  // namespace

void FillBenchPortfolio() {
    ClearPortfolio();
    for (std::size_t i = 0; !RowInUse(kPortfolioRows - 1) && i <= 100; ++i) {
        for (const Listing& listing : kListings) {
            if (i >= listing.entries.size() || RowInUse(kPortfolioRows - 1)) continue;
            const std::string entry = listing.entries[i];
            const std::string symbol = entry.substr(0, entry.find('|'));
            const std::string suffix = listing.suffix;
            char16_t code[2] = {suffix.empty() ? u'U' : u'\0', 0};
            if (!suffix.empty()) {
                const std::u16string s(suffix.begin(), suffix.end());
                code[0] = CodeForSuffix(s.c_str());
            }
            if (!code[0] || symbol.size() > 9) continue;
            AppendQuoteRow(std::u16string(symbol.begin(), symbol.end()).c_str(), code);
        }
    }
}

bool WriteBenchDeviceRoot(const std::string& root) {
    ::setenv("TICKWELL_DEVICE", root.c_str(), 1);
    if (!WriteSettingText(kFirstStartMarker, u"1")) return false;
    for (const char16_t* name : ColumnFlagNames) WriteSettingFlag(name, true);
    CreateDirectoryW(PortfolioFile::kDirectory, nullptr);
    FillBenchPortfolio();
    const HANDLE file = OpenPortfolioFile(PortfolioFileMode::replace);
    const bool saved = SavePortfolio(file) == 1;
    CloseHandle(file);
    return saved;
}
