#include "support/viewer_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

#include "listview/quote_columns.h"
#include "listview/quote_rows.h"
#include "model/portfolio.h"
#include "platform/user32/resources.h"
#include "resources/app_resources.h"
#include "settings/column_flags.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"
#include "shell/win_main.h"

namespace tickwell_test {

void ViewerTest::SetUp() {
    DeviceTest::SetUp();
    ::unsetenv("TICKWELL_CONNECT_TO");
    mainWindow = menuBarWindow = nullptr;
    quoteListView = quoteListOwner = nullptr;
    columnFlags = {};
    visibleColumnCount = 0;
    quoteRowCount = 0;
}

void ViewerTest::TearDown() {
    ::unsetenv("TICKWELL_CONNECT_TO");
    DeviceTest::TearDown();
}

int ViewerTest::Start() {
    return WinMain(RegisterModule(&AppResources()), nullptr, nullptr, SW_SHOW);
}

void ViewerTest::RouteQuotesTo(int port) {
    const std::string route = "download.finance.yahoo.com:80:127.0.0.1:" + std::to_string(port);
    ::setenv("TICKWELL_CONNECT_TO", route.c_str(), 1);
}

void ViewerTest::StoreSettings(bool allColumns) {
    WriteSettingText(kFirstStartMarker, u"1");
    for (const char16_t* name : ColumnFlagNames) WriteSettingFlag(name, allColumns);
}

void ViewerTest::StoreRows(const std::vector<std::pair<std::u16string, std::u16string>>& rows) {
    std::u16string text;
    if (!rows.empty()) text += u'\xFEFF';
    for (const auto& [symbol, code] : rows) {
        text += symbol + u"," + code;
        for (int i = 0; i < 17; ++i) text += u",*";
        text += u"#";
    }
    WriteHostFile("/PIVData/PIVData.PIV", Utf16Bytes(text));
}

void ViewerTest::StoreQuotes(const std::vector<StoredRow>& rows) {
    std::u16string text;
    if (!rows.empty()) text += u'\xFEFF';
    for (const StoredRow& r : rows) {
        // The file's order: the date before the ratio.
        const std::u16string fields[] = {
            r.symbol, r.code, u"*", u"*",        r.lastTradeDate, u"*", r.lastPrice,
            r.change, u"*",   u"*", r.marketCap, r.lastTradeTime, u"*", u"*",
            u"*",     u"*",   u"*", r.sharesOut, r.companyName};
        for (int i = 0; i < 19; ++i) text += fields[i] + (i < 18 ? u"," : u"#");
    }
    WriteHostFile("/PIVData/PIVData.PIV", Utf16Bytes(text));
}

std::vector<unsigned char> ViewerTest::FileBytes() const {
    return ReadHostFile("/PIVData/PIVData.PIV");
}

std::vector<unsigned char> ViewerTest::ExpectedFile() {
    std::u16string text;
    for (int row = 0; row < kPortfolioRows && Portfolio[row].symbol[0]; ++row) {
        const QuoteRecord& r = Portfolio[row];
        if (row == 0) text += u'\xFEFF';
        const char16_t* const fields[] = {
            r.symbol,    r.exchangeCode,  r.prevClose, r.eps,        r.lastTradeDate,
            r.peRatio,   r.lastPrice,     r.change,    r.pctChange,  r.volume,
            r.marketCap, r.lastTradeTime, r.reserved,  r.dayHigh,    r.dayLow,
            r.yearHigh,  r.yearLow,       r.sharesOut, r.companyName};
        for (int i = 0; i < 19; ++i) {
            text += fields[i][0] ? std::u16string(fields[i]) : u"*";
            text += i < 18 ? u',' : u'#';
        }
    }
    return Utf16Bytes(text);
}

std::u16string ViewerTest::Title() const {
    return device_.Row(0);
}

std::string ViewerTest::ScreenRow(int row) const {
    return Narrow(device_.Row(row));
}

int FreePortBelow10000() {
    for (int port = 9000 + ::getpid() % 900; port < 10000; ++port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        const bool free = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (free) return port;
    }
    return 0;
}

}  // namespace tickwell_test
