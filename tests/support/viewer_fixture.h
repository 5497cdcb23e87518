// The real viewer (WinMain) on the headless device, with an empty device root of its own; the
// quote server's host routed where a test says.
#pragma once

#include <string>
#include <vector>

#include "platform/testing/headless.h"
#include "support/device_fixture.h"

namespace tickwell_test {

// A row of a data file written by a test.
struct StoredRow {
    std::u16string symbol;
    std::u16string code = u"U";
    std::u16string lastPrice = u"*";
    std::u16string change = u"*";
    std::u16string lastTradeDate = u"*";
    std::u16string lastTradeTime = u"*";
    std::u16string marketCap = u"*";
    std::u16string sharesOut = u"*";
    std::u16string companyName = u"*";
};

class ViewerTest : public DeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the viewer until its script has run; its exit code (-1 when the script ended it).
    int Start();
    // The quote server's host, port 80, reaches 127.0.0.1:`port` instead.
    void RouteQuotesTo(int port);

    // A later start: the first-start marker and the column settings stored, every column on
    // unless told otherwise.
    void StoreSettings(bool allColumns = true);
    // A data file holding these rows: (symbol, exchange code), every quote field "*".
    void StoreRows(const std::vector<std::pair<std::u16string, std::u16string>>& rows);
    // A data file of rows with some of their quote values; the others "*".
    void StoreQuotes(const std::vector<StoredRow>& rows);
    std::vector<unsigned char> FileBytes() const;
    // What the data file holds for the portfolio in memory, written here from the file's
    // definition (a byte-order mark, 19 fields a record in their file order, "*" for empty).
    static std::vector<unsigned char> ExpectedFile();

    // The navigation bar's text.
    std::u16string Title() const;
    // A row of the screen as UTF-8, for messages.
    std::string ScreenRow(int row) const;

    platform::testing::HeadlessDevice device_{120, 30};
};

// A free loopback port of four digits (what the proxy setting takes), or 0.
int FreePortBelow10000();

}  // namespace tickwell_test
