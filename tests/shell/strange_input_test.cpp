// What a user can put into the boxes, and what only a program can (text set into a box past
// its limit, characters no key gives): the dialogs read what fits their fields, refuse what
// they must, store nothing past a field, and a symbol reaches the browser only encoded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "model/portfolio.h"
#include "platform/user32/dialogs.h"
#include "platform/user32/message_loop.h"
#include "resources/dialog_templates.h"
#include "settings/proxy_settings.h"
#include "support/viewer_fixture.h"

namespace {

class StrangeInputTest : public tickwell_test::ViewerTest {
protected:
    void SetUp() override {
        tickwell_test::ViewerTest::SetUp();
        StoreSettings();
        StoreRows({});
    }
    // Opens the Tools menu's dialog, sets `text` into its box as a program would, and presses
    // Enter.
    void SetAndApply(const std::u16string& item, int box, const std::u16string& text) {
        device_.Key(VK_F2)
            .TapText(item)
            .Check([box, text] { SetDlgItemTextW(GetForegroundWindow(), box, text.c_str()); })
            .Key(VK_RETURN);
    }
    std::string Hive() const { return ReadHostText("/registry.reg"); }

    // Every row's fields end inside their width, and the rows in use are a prefix.
    static void ExpectWholeRows() {
        bool ended = false;
        for (int row = 0; row < kPortfolioRows; ++row) {
            for (int f = 0; f < kQuoteFieldCount; ++f) {
                const FieldRef field = FieldOf(Portfolio[row], static_cast<QuoteField>(f));
                EXPECT_LT(std::char_traits<char16_t>::length(field.text), field.width);
            }
            if (!RowInUse(row)) ended = true;
            EXPECT_FALSE(ended && RowInUse(row)) << row;
        }
    }
};

TEST_F(StrangeInputTest, SpeedInsertReadsWhatFitsFromTextFarPastTheBoxsLimit) {
    std::u16string many;
    for (int i = 0; many.size() < 5000; ++i) {
        const std::string token = "T" + std::to_string(i) + ",";
        many += std::u16string(token.begin(), token.end());
    }
    SetAndApply(u"Insert", IDC_SYMBOLS_EDIT, many);
    device_
        .Check([&] {
            EXPECT_TRUE(messages_.records().empty());
            // 99 characters read: "T0," to "T26," and the "T" of "T27".
            ASSERT_EQ(PortfolioRowCount(), 28);
            EXPECT_EQ(std::u16string(Portfolio[26].symbol), u"T26");
            EXPECT_EQ(std::u16string(Portfolio[27].symbol), u"T");
            ExpectWholeRows();
            EXPECT_EQ(FileBytes(), ExpectedFile());
        })
        .Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(StrangeInputTest, SpeedInsertRefusesWhatNoKeyGives) {
    const std::u16string refused[] = {u"A\tB",       u"LINE\r\nBREAK", u"\x7F",
                                      u"\U0001F600",  // a pair of surrogates
                                      u"\xD800",     u"\u00C9",        u"\x1B[2J"};
    for (const std::u16string& text : refused) {
        SetAndApply(u"Insert", IDC_SYMBOLS_EDIT, text);
        device_.Check([&] {
            ASSERT_FALSE(messages_.records().empty());
            EXPECT_EQ(messages_.records().back().text, u"Invalid character in symbol list");
            EXPECT_EQ(PortfolioRowCount(), 0);
        });
        device_.Key(VK_ESCAPE);
    }
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(messages_.records().size(), std::size(refused));
    EXPECT_TRUE(FileBytes().empty());
}

TEST_F(StrangeInputTest, ProxyBoxesKeepTheirWidthAndAHostWithALineBreakSurvivesTheHive) {
    SetAndApply(u"Use Proxy Server", IDC_PROXY_SERVER, std::u16string(3000, u'h'));
    device_.Check([&] {
        EXPECT_EQ(std::u16string(proxySettings.proxyHost), std::u16string(48, u'h'));
        EXPECT_NE(Hive().find("\"Proxy\"=\"" + std::string(48, 'h') + "\"\r\n"), std::string::npos);
    });
    SetAndApply(u"Use Proxy Server", IDC_PROXY_PORT, u"65536999");
    device_.Check(
        [&] { EXPECT_NE(Hive().find("\"Port\"=\"6553\"\r\n"), std::string::npos) << Hive(); });
    // A line break only a program can type: stored so that the hive still reads, and the
    // session refuses such a proxy, as it does one it cannot open, rather than send it.
    const std::u16string evil = u"evil\r\n\"Injected\"=\"1\"";
    device_.Key(VK_F2)
        .TapText(u"Use Proxy Server")
        .Key(VK_SPACE)  // the check box has the focus: the proxy is on
        .Check([&] { SetDlgItemTextW(GetForegroundWindow(), IDC_PROXY_SERVER, evil.c_str()); })
        .Key(VK_RETURN)
        .Check([&] {
            EXPECT_EQ(Hive().find("\"Injected\"=\"1\"\r\n"), std::string::npos) << Hive();
            proxySettings = {};
            ReadProxySettings();
            EXPECT_TRUE(proxySettings.useProxy);
            EXPECT_EQ(std::u16string(proxySettings.proxyHost), evil);
            messages_.clear();
        })
        .Key(VK_F1)
        .Check([&] {
            EXPECT_EQ(MessageTexts(),
                      std::vector<std::string>{"Could not find an Internet connection"});
        })
        .Key('Q', false, true);
    StoreRows({{u"MSFT", u"U"}});
    EXPECT_EQ(Start(), 0);
}

TEST_F(StrangeInputTest, TheRefreshBoxReadsItsThreeLeadingDigits) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"99999999999999999999", u"Stock quotes will refresh every 999 minutes"},
        {u"12abc", u"Stock quotes will refresh every 12 minutes"},
        {u"-5", u"Automatic refresh of stock quotes has been turned off"},
        {u"\uFF15", u"Automatic refresh of stock quotes has been turned off"},  // a wide 5
        {u"007", u"Stock quotes will refresh every 7 minutes"},
    };
    for (const auto& [text, said] : cases) {
        SetAndApply(u"Refresh Settings", IDC_REFRESH_MINUTES, text);
        device_.Check([&, said = said] {
            ASSERT_FALSE(messages_.records().empty());
            EXPECT_EQ(messages_.records().back().text, said);
        });
    }
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
}

TEST_F(StrangeInputTest, AStoredSymbolReachesTheBrowserOnlyEncoded) {
    ::setenv("BROWSER", "browser", 1);
    StoreQuotes({{u"$(id)"}, {u"A;B|C"}, {u"`x` 'y'"}});
    for (const char16_t* symbol : {u"$(id)", u"A;B|C", u"`x` 'y'"})
        device_.TapText(symbol).TapText(u"Chart");
    device_.Key('Q', false, true);
    EXPECT_EQ(Start(), 0);
    ::unsetenv("BROWSER");
    ASSERT_EQ(device_.launches().size(), 3u);
    for (const std::string& launch : device_.launches()) {
        const std::string address = launch.substr(launch.find(' ') + 1);
        EXPECT_EQ(address.find_first_of("$();|`' "), std::string::npos) << address;
    }
    const std::string first = device_.launches()[0];
    EXPECT_EQ(first.substr(first.rfind("s=")), "s=%24%28id%29");
}

}  // namespace
