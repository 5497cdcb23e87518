// Every tag of the protocol as CSV-era clients read it: one value per tag on every line, each
// in its historical form, and the values of one instrument at one instant agreeing with each
// other.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "common/market_time.h"
#include "common/number_text.h"
#include "protocol/quote_line.h"
#include "protocol/quote_tags.h"
#include "relay/live_quote.h"
#include "relay/live_values.h"
#include "sim/instruments.h"
#include "sim/simulated_lines.h"
#include "sim/simulation.h"

namespace {

std::int64_t At(const char* text) {
    return *quotes::ParseClock(text);
}

// How the CSV-era libraries split a line: a double quote opens or closes a text, a comma
// outside one ends a value. Quotes inside a text were never doubled.
std::vector<std::string> Values(const std::string& line) {
    std::vector<std::string> values(1);
    bool inText = false;
    for (char c : line) {
        if (c == '"') inText = !inText;
        if (c == ',' && !inText) {
            values.emplace_back();
        } else {
            values.back() += c;
        }
    }
    return values;
}

// The 81 tags the CSV-era clients asked for: every tag but those whose values once held
// unquoted thousands separators or links (t6 f6 j2 a5 b6 k3 s6).
std::vector<std::string> ClientTags() {
    int count = 0;
    const quotes::TagInfo* all = quotes::AllTags(count);
    std::vector<std::string> tags;
    for (int i = 0; i < count; ++i) {
        const std::string name(all[i].name);
        if (name != "t6" && name != "f6" && name != "j2" && name != "a5" && name != "b6" &&
            name != "k3" && name != "s6")
            tags.push_back(name);
    }
    return tags;
}

std::vector<std::string> EveryTag() {
    int count = 0;
    const quotes::TagInfo* all = quotes::AllTags(count);
    std::vector<std::string> tags;
    for (int i = 0; i < count; ++i) tags.emplace_back(all[i].name);
    return tags;
}

// One line's values by tag name.
struct Line {
    std::vector<std::string> tags;
    std::vector<std::string> values;
    const std::string& operator[](const std::string& tag) const {
        for (std::size_t i = 0; i < tags.size(); ++i) {
            if (tags[i] == tag) return values[i];
        }
        static const std::string none;
        return none;
    }
    double Number(const std::string& tag) const { return std::stod((*this)[tag]); }
};

Line Quote(const std::string& symbol, std::int64_t t) {
    const std::vector<std::string> tags = EveryTag();
    return {tags, Values(quotes::FormatQuoteLine(symbol, tags, t))};
}

// The first stock of every market, an index and a currency.
std::vector<std::string> SymbolsOfEveryMarket() {
    int count = 0;
    const quotes::Instrument* all = quotes::Instruments(count);
    std::vector<std::string> symbols;
    const quotes::Market* last = nullptr;
    for (int i = 0; i < count; ++i) {
        if (all[i].market != last) symbols.push_back(all[i].symbol);
        last = all[i].market;
    }
    return symbols;
}

class TagRequests : public ::testing::TestWithParam<std::vector<std::string>> {};

// The clients' request, and every tag at once: share counts and sizes are bare digits now, so
// no value splits into several.
INSTANTIATE_TEST_SUITE_P(Requests, TagRequests, ::testing::Values(ClientTags(), EveryTag()),
                         [](const auto& info) { return info.index == 0 ? "Clients" : "Every"; });

TEST_P(TagRequests, OneValuePerTagOnEveryMarket) {
    const std::vector<std::string> tags = GetParam();
    ASSERT_TRUE(tags.size() == 81u || tags.size() == 88u) << tags.size();
    std::vector<std::string> symbols = SymbolsOfEveryMarket();
    symbols.insert(symbols.end(), {"AMZN", "^GSPC", "EURUSD=X", "XQZW", "A\\B", "C\"D", "E F"});
    int withComma = 0;
    for (const char* t : {"2026-12-07T15:30:00Z", "2026-12-06T03:00:00Z"}) {
        const std::string reply = quotes::FormatQuoteReply(symbols, tags, At(t));
        std::size_t start = 0;
        for (const std::string& symbol : symbols) {
            const std::size_t end = reply.find("\r\n", start);
            ASSERT_NE(end, std::string::npos) << symbol;
            const std::string line = reply.substr(start, end - start);
            EXPECT_EQ(Values(line).size(), tags.size()) << line;
            withComma += Line{tags, Values(line)}["n"].find(',') != std::string::npos;
            start = end + 2;
        }
        EXPECT_EQ(start, reply.size());  // one line a symbol, no more
    }
    EXPECT_GT(withComma, 0);  // names with commas were among them
}

TEST(Tags, EachTagHasItsForm) {
    const std::string n = R"(-?\d+\.\d{2,4})";
    const std::string s = R"(([+-]\d+\.\d{2,4}|0\.00))";
    const std::string pct = R"(([+-]\d+\.\d{2}|0\.00)%)";
    const std::string big = R"(-?\d+\.\d{2}[MB])";
    const std::string date = R"("\d{1,2}/\d{1,2}/\d{4}")";
    const std::pair<const char*, std::string> forms[] = {
        {"o", n},
        {"b", n},
        {"a", n},
        {"a2", R"(\d+)"},
        {"m", "\"" + n + " - " + n + "\""},
        {"w", "\"" + n + " - " + n + "\""},
        {"x", R"("NMS")"},
        {"c4", R"("USD")"},
        {"e1", R"("N/A")"},
        {"b4", n},
        {"d", n},
        {"y", n},
        {"q", date},
        {"r1", date},
        {"j1", big},
        {"j4", big},
        {"s6", big},
        {"j2", R"(\d+)"},
        {"f6", R"(\d+)"},
        {"a5", R"(\d+00)"},
        {"b6", R"(\d+00)"},
        {"k3", R"(\d+00)"},
        {"e7", n},
        {"e8", n},
        {"e9", n},
        {"j5", n},
        {"j6", pct},
        {"k4", s},
        {"k5", pct},
        {"m3", n},
        {"m4", n},
        {"m5", n},
        {"m6", pct},
        {"m7", n},
        {"m8", pct},
        {"p5", n},
        {"p6", n},
        {"r5", n},
        {"r6", n},
        {"r7", n},
        {"s7", n},
        {"t8", n},
        {"c", "\"" + s + " - " + pct + "\""},
        {"l", R"("\d{1,2}:\d{2}[ap]m - <b>)" + n + R"(</b>")"},
        {"n4", R"("N/A")"},
        {"k1", R"("N/A")"},
        {"b2", "N/A"},
        {"v7", "N/A"},
    };
    const Line msft = Quote("MSFT", At("2026-12-07T15:30:00Z"));  // pays a dividend
    for (const auto& [tag, form] : forms) {
        EXPECT_TRUE(std::regex_match(msft[tag], std::regex(form))) << tag << ": " << msft[tag];
    }
    // Markets name their exchange and currency; London and Tel Aviv quote in minor units.
    const std::pair<const char*, const char*> listings[] = {
        {"IBM", "\"NYQ\" \"USD\""},      {"RY.TO", "\"TOR\" \"CAD\""},
        {"VOD.L", "\"LSE\" \"GBp\""},    {"TEVA.TA", "\"TLV\" \"ILA\""},
        {"0005.HK", "\"HKG\" \"HKD\""},  {"SAP.DE", "\"GER\" \"EUR\""},
        {"USDJPY=X", "\"CCY\" \"JPY\""}, {"^GSPC", "\"SNP\" \"USD\""},
    };
    for (const auto& [symbol, listing] : listings) {
        const Line q = Quote(symbol, At("2026-12-07T15:30:00Z"));
        EXPECT_EQ(q["x"] + " " + q["c4"], listing) << symbol;
    }
    const Line index = Quote("^GSPC", At("2026-12-07T15:30:00Z"));
    for (const char* none : {"b", "a", "a2", "b4", "e7", "j4", "d", "q", "r1", "a5", "k3"}) {
        EXPECT_EQ(index[none], "N/A") << none;  // dates without a value are bare too
    }
    EXPECT_EQ(index["n4"], "\"N/A\"");  // a text tag without a value
}

TEST(Tags, TheValuesOfOneInstantAgree) {
    int count = 0;
    const quotes::Instrument* all = quotes::Instruments(count);
    int checkedRatios = 0;
    for (int i = 0; i < count; ++i) {
        for (const char* t : {"2026-12-07T15:30:00Z", "2026-12-08T21:30:00Z"}) {
            const Line q = Quote(all[i].symbol, At(t));
            SCOPED_TRACE(all[i].symbol + " at " + t);
            const double last = q.Number("l1");
            if (q["o"] != "N/A") {
                EXPECT_LE(q.Number("g"), q.Number("o"));
                EXPECT_LE(q.Number("o"), q.Number("h"));
            }
            if (q["b"] != "N/A") {
                EXPECT_LT(q.Number("b"), q.Number("a"));
                EXPECT_LE(q.Number("b"), last);
                EXPECT_GE(q.Number("a"), last);
            }
            for (const char* average : {"m3", "m4"}) {
                EXPECT_LE(q.Number("j"), q.Number(average));
                EXPECT_GE(q.Number("k"), q.Number(average));
            }
            EXPECT_NEAR(q.Number("j5"), last - q.Number("j"), 1e-6);
            EXPECT_NEAR(q.Number("k4"), last - q.Number("k"), 1e-6);
            EXPECT_NEAR(q.Number("m7"), last - q.Number("m3"), 1e-6);
            // Every money figure is in the line's own unit, pence and agorot included, so a
            // client that divides them all by 100 keeps the ratios.
            if (q["r"] != "N/A") {
                EXPECT_NEAR(q.Number("r"), last / q.Number("e"), 0.00501);
                ++checkedRatios;
            }
            if (q["r6"] != "N/A") {
                EXPECT_NEAR(q.Number("r6"), last / q.Number("e7"), 0.00501);
            }
            if (q["y"] != "N/A") {
                EXPECT_NEAR(q.Number("y"), q.Number("d") / last * 100, 0.00501);
            }
            if (q["j1"] != "N/A") {
                const std::string cap = q["j1"];
                const double scale = cap.back() == 'B' ? 1e9 : 1e6;
                EXPECT_NEAR(std::stod(cap) * scale, last * q.Number("j2"), 0.00501 * scale);
            }
        }
    }
    EXPECT_GT(checkedRatios, 100);
}

TEST(Tags, SizesAndChangesHaveTheLastYearsForms) {
    const std::pair<double, const char*> sizes[] = {{1.0349e12, "1034.90B"},
                                                    {165.77e9, "165.77B"},
                                                    {537.69e6, "537.69M"},
                                                    {-363.25e6, "-363.25M"}};
    for (const auto& [value, text] : sizes) {
        std::string out;
        quotes::AppendBigMoney(out, value);
        EXPECT_EQ(out, text);
    }
    // Distances from the low and the averages are bare when above, signed when below; the
    // change and the percentages keep their sign.
    const Line q = Quote("MSFT", At("2026-12-07T15:30:00Z"));
    for (const char* tag : {"j5", "m5", "m7"}) {
        EXPECT_EQ(q[tag].front() == '-', q.Number(tag) < 0) << tag << ": " << q[tag];
    }
    for (const char* tag : {"j6", "m6", "m8", "c1"}) {
        EXPECT_TRUE(q[tag].front() == '-' || q[tag].front() == '+' || q[tag] == "0.00" ||
                    q[tag] == "0.00%")
            << tag << ": " << q[tag];
    }
}

// A figure no quote could hold reads N/A, and so does every tag worked out from it.
TEST(Tags, AbsurdLiveFiguresReadNotAvailableThroughout) {
    quotes::LiveQuote q;
    q.last = 1e308;
    q.previousClose = 1e308;
    q.change = 0;
    q.changePercent = 0;
    q.marketCap = 1e30;
    q.dayHigh = std::nan("");
    q.dayLow = HUGE_VAL;
    EXPECT_EQ(
        quotes::QuoteLine("X", quotes::LiveValues(q), {"l1", "c1", "p2", "c", "j1", "g", "h", "m"}),
        "N/A,N/A,\"N/A\",\"N/A\",N/A,N/A,N/A,\"N/A\"");
    std::string text;
    quotes::AppendBigMoney(text, 1e30);
    EXPECT_EQ(text, "N/A");  // not "N/AB"
}

TEST(Tags, ErrorIndicationForUnknownAndKnownSymbols) {
    EXPECT_EQ(quotes::FormatQuoteLine("XQZW", {"s", "e1", "l1"}, 0),
              "\"XQZW\",\"No such ticker symbol. <a href=\"/l\">Try Symbol Lookup</a> (Look up: "
              "<a href=\"/l?s=XQZW\">XQZW</a>)\",0.00");
    EXPECT_EQ(quotes::FormatQuoteLine("MSFT", {"s", "e1"}, At("2026-12-07T15:30:00Z")),
              "\"MSFT\",\"N/A\"");
    // The average volume of an unknown symbol was captured as 0.
    EXPECT_EQ(quotes::FormatQuoteLine("XQZW", {"a2", "v", "q"}, 0), "0,N/A,N/A");
    // What a CSV-era reader takes for an escape or a field's end is never echoed.
    EXPECT_EQ(quotes::FormatQuoteLine("A\\B,C\"D E", {"s", "n"}, 0), "\"A?B?C?D?E\",\"A?B?C?D?E\"");
}

}  // namespace
