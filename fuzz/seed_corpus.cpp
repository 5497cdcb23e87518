// Writes the fuzz targets' seed inputs from valid data, made by the viewer's and the service's
// own code: the first start's data file, 200 maximal records, real quote replies, hives with
// every value, request lines and the terminal's sequences. Usage: tickwell-fuzz-seeds DIR
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "quotes/quote_batch.h"
#include "settings/column_flags.h"
#include "settings/proxy_settings.h"
#include "settings/settings_store.h"
#include "support/simulated_replies.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr std::int64_t kMarketOpen = 1796657400;  // 2026-12-07T15:30:00Z, a Monday

fs::path outDir;

void Write(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(outDir / target);
    std::ofstream(outDir / target / name, std::ios::binary) << bytes;
}

std::string Narrow(const char16_t* text) {
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text);
    return out;
}

// The portfolio as the data file holds it.
std::string DataFile() {
    std::u16string units;
    for (int row = 0; RowInUse(row); ++row) {
        if (row == 0) units += u'\xFEFF';
        char16_t record[kPortfolioRecordCapacity];
        units.append(record, FormatPortfolioRecord(Portfolio[row], record));
    }
    return std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2);
}

void FillMaximal() {
    ClearPortfolio();
    for (int row = 0; row < kPortfolioRows; ++row) {
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            const FieldRef field = FieldOf(Portfolio[row], static_cast<QuoteField>(f));
            for (std::size_t i = 0; i + 1 < field.width; ++i)
                field.text[i] = static_cast<char16_t>(u'A' + (row + f + i) % 26);
        }
        SetText(Portfolio[row].exchangeCode, u"U");
    }
}

void DataFileSeeds() {
    ClearPortfolio();
    AppendQuoteRow(u"MSFT", u"U");
    const std::string firstStart = DataFile();
    if (firstStart.size() != 84)
        std::fprintf(stderr, "first-start file: %zu bytes\n", firstStart.size());
    Write("data_file", "first-start", firstStart);
    FillMaximal();
    Write("data_file", "200-maximal", DataFile());
    const std::u16string older =
        u"\uFEFF"
        u"BRK.B,U,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,Berkshire#RY,C,,,,,,,,,,,,,,,,,#X,U";
    Write("data_file", "older-and-cut",
          std::string(reinterpret_cast<const char*>(older.data()), older.size() * 2));
}

// A holdings file as the viewer writes it, and one with every kind of line it keeps.
void HoldingsSeeds() {
    Write("holdings", "written",
          "Symbol,Exchange,Shares,Price "
          "Paid\nMSFT,U,12.5,401.25\nVOD,G,300,\n\"A,\"\"B\",q,0.000001,0\n");
    Write("holdings", "kept",
          "\xEF\xBB\xBFSymbol,Exchange,Shares,Price Paid\r\nMSFT,U,1,1\r\nMSFT,U,2,2\nX,U,0,1\n"
          "X,UU,1,1\nX,U,1,1,1\n\xC3\x28,U,1,\n\n");
}

// The portfolios the reply target builds its prior tables from, and the service's replies to
// them.
void ReplySeeds() {
    const char16_t* const symbols[] = {u"MSFT",  u"IBM",   u"RY",    u"VOD", u"6488",
                                       u"BRK-B", u"^DJI",  u"GE",    u"KO",  u"SAP",
                                       u"7203",  u"$TICK", u"NOSUCH"};
    const char16_t* const codes[] = {u"U", u"U", u"T", u"G", u"X", u"U", u"U",
                                     u"U", u"U", u"D", u"B", u"U", u"U"};
    ClearPortfolio();
    for (std::size_t i = 0; i < std::size(symbols); ++i) AppendQuoteRow(symbols[i], codes[i]);
    char16_t path[kQuotePathWidth];
    BuildQuoteBatch(0, path);
    const std::string body = tickwell_test::SimulatedReply("GET", Narrow(path), kMarketOpen).body;
    const std::string header = {13, 0, 0, 0};
    Write("reply", "whole", header + body);
    Write("reply", "cut", std::string{13, 1, 7, 0} + body.substr(0, body.size() * 2 / 3));
    std::string lf = body;
    for (std::size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at))
        lf.erase(at, 1);
    Write("reply", "lf-ends", header + lf);
    Write("reply", "error-page",
          header + "<html><body>Sorry, Unable to process request at this time</body></html>\r\n");
    Write("reply", "empty-table", std::string{0, 0, 0, 0} + body);
}

// The hive's seeds serve both the hive and the registry target.
void WriteHive(const std::string& name, const std::string& bytes) {
    Write("hive", name, bytes);
    Write("registry", name, bytes);
}

void HiveSeeds() {
    char pattern[] = "/tmp/tickwell-seeds-XXXXXX";
    if (!::mkdtemp(pattern)) return;
    ::setenv("TICKWELL_DEVICE", pattern, 1);
    WriteSettingText(kFirstStartMarker, u"1");
    for (const char16_t* name : kFirstStartDefaults) WriteSettingFlag(name, true);
    for (const char16_t* name : ColumnFlagNames) WriteSettingFlag(name, false);
    WriteSettingText(kProxySetting, u"proxy.corporate.example");
    WriteSettingText(kPortSetting, u"8080");
    WriteSettingText(kUseProxySetting, u"1");
    WriteSettingText(u"Odd \"name\" \\ here", u"line\r\nbreak\t\xD800");
    std::ifstream in(std::string(pattern) + "/registry.reg", std::ios::binary);
    Write("hive", "every-value",
          {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    std::error_code ignored;
    fs::remove_all(pattern, ignored);
    WriteHive("hand-edited",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "; a comment\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Quellmark\\PIV\\Settings]\r\n"
              "\"Proxy\"=\"a\"\r\n\"proxy\"=\"b\"\r\n\"Port\"=dword:00000050\r\n"
              "\"Broken\r\r\n@=\"default\"\r\n"
              "[\\]\r\n\"InRoot\"=\"x\"\r\n[\\-x]\r\n\"AfterDelete\"=\"y\"\r\n"
              "[HKEY_LOCAL_MACHINE\\\\Software\\]\r\n\"Hex\"=hex(1):41,00,0a,00,00,d8\r\n");
}

void QuoteBatchSeeds() {
    std::string many;
    for (int i = 0; i < kPortfolioRows; ++i) many += "S" + std::to_string(i) + " U\n";
    Write("quote_batch", "200-rows", many);
    Write("quote_batch", "exchanges", "RY T\nVOD G\n6488 X\nSAP D\n7203 B\nBHP A\nMSFT U\n");
    Write("quote_batch", "strange",
          "X&f=n U\nA,B+C U\nQ=1 T\n\"Q\" U\n%41 U\nsp ace U\n\xFF\x00\xD8 U\n\xFF\xE9\x00 G\n"s);
}

// A page answer of each kind, behind the byte that picks its reader.
void UpstreamPageSeeds() {
    Write("upstream_pages", "feed",
          "\x00<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><item><title>A &amp; "
          "B</title><link>https://x.example/1</link><description>&lt;p&gt;One. "
          "Two.&lt;/p&gt;</description><pubDate>Wed, 29 Oct 2025 20:05:00 "
          "+0000</pubDate><source>Wire</source></item></channel></rss>"s);
    Write("upstream_pages", "spark",
          "\x01{\"spark\":{\"result\":[{\"symbol\":\"^GSPC\",\"response\":[{\"meta\":{"
          "\"regularMarketPrice\":101,\"chartPreviousClose\":100},\"indicators\":{\"quote\":[{"
          "\"close\":[100,100.5,101]}]}}]}]}}"s);
    Write("upstream_pages", "chart",
          "\x02{\"chart\":{\"result\":[{\"meta\":{\"symbol\":\"X\",\"gmtoffset\":-18000,"
          "\"regularMarketPrice\":10,\"previousClose\":9,\"currentTradingPeriod\":{\"regular\":{"
          "\"start\":1761744600,\"end\":1761768000}}},\"timestamp\":[1761744600,1761744900],"
          "\"indicators\":{\"quote\":[{\"open\":[9,9.5],\"high\":[10,10],\"low\":[9,9],"
          "\"close\":[9.5,10],\"volume\":[100,200]}]}}]}}"s);
    Write("upstream_pages", "consent",
          "\x03<form method=post action=\"/v2/collectConsent?sessionId=s\"><input type=\"hidden\" "
          "name=\"csrfToken\" value=\"t&amp;1\"><input type='hidden' name='sessionId' "
          "value='s'></form>"s);
}

void RespondSeeds() {
    ClearPortfolio();
    AppendQuoteRow(u"MSFT", u"U");
    AppendQuoteRow(u"RY", u"T");
    char16_t path[kQuotePathWidth];
    BuildQuoteBatch(0, path);
    Write("respond", "batch", "GET " + Narrow(path));
    Write("respond", "absolute", "GET http://download.finance.yahoo.com" + Narrow(path));
    Write("respond", "head", "HEAD /d/quotes.csv?s=MSFT&f=sl1d1t1c1ohgv");
    Write("respond", "chart", "GET /raw?dp=page&pg=finance/quote_chart&s=RY.TO");
    Write("respond", "news", "GET /raw?dp=news&tn=_VOD.L");
    Write("respond", "overview", "GET /palm/marketwatch/overview.asp");
    Write("respond", "maker", "GET /pdapage.htm");
    Write("respond", "post", "POST /d/quotes.csv");
    Write("respond", "every-tag",
          "GET /d/quotes.csv?s=MSFT,VOD.L,^GSPC,EURUSD=X,XQZW&f=aa2a5bb2b3b4b6cc1c3c4c6c8dd1d2ee1e7"
          "e8e9f6ghjkg1g3g4g5g6ii5j1j2j3j4j5j6k1k2k3k4k5ll1l2l3mm2m3m4m5m6m7m8nn4opp1p2p5p6qrr1r2r5"
          "r6r7ss1s6s7t1t6t7t8vv1v7ww1w4xy");
    Write("respond", "history", "GET /table.csv?s=MSFT&a=0&b=1&c=2026&d=11&e=7&f=2026&g=w");
    Write("respond", "unknown", "GET /d/quotes.csv?s=\"A\\\"B,<b>\"&f=snl1");
}

void KeyDecoderSeeds() {
    Write("key_decoder", "text", std::string("\x03") + "MSFT, ibm \xC3\xA9\xF0\x9F\x98\x80");
    Write("key_decoder", "cursor-keys",
          "\x05\x1b[A\x1b[B\x1b[1;2C\x1b[1;5D\x1bOH\x1b[F\x1b[5~\x1b[6~");
    Write("key_decoder", "function-keys", "\x11\x1bOP\x1bOQ\x1b[15~\x1b[24;2~\x1b[3~\x1b[2~");
    Write("key_decoder", "mouse", "\x07\x1b[<0;10;5M\x1b[<0;10;5m\x1b[<64;3;3M\x1b[M !!");
    Write("key_decoder", "chords", "\x01\x11\x1bq\x1b\x1b\x7f\x08\t\r\n\x1b");
    Write("key_decoder", "resize", "\x02\x1b[8;30;100t");
}

void HttpReplySeeds() {
    Write("http_reply", "length",
          "\x83HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n\"MSFT\",1,2\r\n");
    Write("http_reply", "chunked",
          "\x05HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4;a=b\r\nabcd\r\n0\r\nX: "
          "y\r\n\r\n");
    Write(
        "http_reply", "interim-to-close",
        "\x81HTTP/1.1 100 Continue\r\n\r\nHTTP/1.0 500 Oops\r\nConnection: keep-alive\r\n\r\nbody");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    outDir = argv[1];
    DataFileSeeds();
    HoldingsSeeds();
    ReplySeeds();
    HiveSeeds();
    QuoteBatchSeeds();
    RespondSeeds();
    UpstreamPageSeeds();
    KeyDecoderSeeds();
    HttpReplySeeds();
    return 0;
}
