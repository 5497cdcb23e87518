// The viewer end to end with real quotes: tickwell-quotes relays a fake upstream that answers
// with bodies recorded from Yahoo, and a refresh of 120 rows shows the recorded prices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/quote_columns.h"
#include "model/portfolio.h"
#include "platform/comctl32/control_wrappers.h"
#include "shell/app_state.h"
#include "support/fake_upstream.h"
#include "support/service_process.h"
#include "support/viewer_fixture.h"

namespace {

using tickwell_test::Narrow;

class RelayViewerTest : public tickwell_test::ViewerTest {
protected:
    std::u16string Cell(int item, int sub) const {
        char16_t text[32] = {};
        platform::ListViewCtrl(quoteListView).GetItemText(item, sub, text, 32);
        return text;
    }
};

TEST_F(RelayViewerTest, ARefreshOf120RowsShowsTheRecordedPrices) {
    tickwell_test::FakeUpstream upstream;
    tickwell_test::ServiceProcess service(
        {"--source", "yahoo", "--upstream", "yahoo=" + upstream.url()});
    RouteQuotesTo(service.port());
    StoreSettings();
    std::vector<std::pair<std::u16string, std::u16string>> rows = {{u"MSFT", u"U"},
                                                                   {u"AAPL", u"U"}};
    for (int i = 2; i < 120; ++i) {
        const std::string name = "R" + std::to_string(1000 + i);
        rows.push_back({std::u16string(name.begin(), name.end()), u"U"});
    }
    StoreRows(rows);
    device_.Key(VK_F1)
        .Check([&] {
            EXPECT_EQ(Cell(0, 2), u"541.55");
            EXPECT_EQ(Cell(1, 2), u"269.70");
            EXPECT_EQ(Cell(119, 2), u"269.70");
            EXPECT_EQ(Cell(119, 0), u"R1119");
            EXPECT_TRUE(messages_.records().empty());
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Narrow(Portfolio[0].companyName), "Microsoft Corporati");  // cut to its field
    EXPECT_EQ(Narrow(Portfolio[1].change), "+0.70");
    EXPECT_EQ(upstream.Calls("/v7/finance/quote"), 3);  // one per request of the viewer
}

}  // namespace
