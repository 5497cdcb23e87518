// How long a refresh of 200 rows takes the viewer: DownloadQuotes as the Refresh button runs
// it (four requests on one connection, the replies parsed into the portfolio, the data file
// rewritten, the list rebuilt), against the quote service on loopback; beside it the four
// requests alone through the viewer's HTTP client, and through libcurl itself on one kept-alive
// connection, round by round in the same run. Prints the medians in milliseconds.
//   refresh_bench PORT [ROUNDS]
#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_portfolio.h"
#include "listview/quote_columns.h"
#include "model/exchange_table.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "platform/testing/headless.h"
#include "platform/testing/message_box_log.h"
#include "platform/user32/resources.h"
#include "platform/wininet/wininet.h"
#include "quotes/download_session.h"
#include "quotes/quote_batch.h"
#include "resources/app_resources.h"
#include "settings/column_flags.h"
#include "settings/settings_store.h"
#include "shell/app_state.h"

namespace {

LRESULT Plain(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The four requests alone, through the viewer's HTTP client.
double HttpOnly() {
    const auto start = std::chrono::steady_clock::now();
    const HINTERNET session =
        InternetOpenW(kQuoteAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    const HINTERNET connection = InternetConnectW(session, kQuoteServerHost, 80, nullptr, nullptr,
                                                  INTERNET_SERVICE_HTTP, 0, 0);
    QuoteBatch batch;
    static unsigned char buffer[16384];
    for (batch.startRow = 0;; batch.startRow = batch.nextStart) {
        BuildQuoteBatch(batch);
        const HINTERNET request =
            HttpOpenRequestW(connection, u"GET", batch.path, nullptr, nullptr, nullptr, 0, 0);
        HttpSendRequestW(request, nullptr, 0, nullptr, 0);
        DWORD got = 0;
        while (InternetReadFile(request, buffer, sizeof buffer, &got) && got) {
        }
        InternetCloseHandle(request);
        if (batch.nextStart >= kPortfolioRows) break;
    }
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

std::size_t Discard(char*, std::size_t size, std::size_t count, void* total) {
    *static_cast<std::size_t*>(total) += size * count;
    return size * count;
}

std::vector<std::string> Targets() {
    std::vector<std::string> targets;
    QuoteBatch batch;
    for (batch.startRow = 0;; batch.startRow = batch.nextStart) {
        BuildQuoteBatch(batch);
        std::string path;
        for (const char16_t* c = batch.path; *c; ++c) path += static_cast<char>(*c);
        targets.push_back(path);
        if (batch.nextStart >= kPortfolioRows) return targets;
    }
}

// The reference: libcurl itself, the same four targets on one kept-alive connection.
double Curl(const std::string& port, const std::vector<std::string>& targets) {
    const auto start = std::chrono::steady_clock::now();
    CURL* easy = curl_easy_init();
    std::size_t total = 0;
    const std::string url = "http://127.0.0.1:" + port + "/";
    for (const std::string& target : targets) {
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, target.c_str());
        curl_easy_setopt(easy, CURLOPT_USERAGENT, "IE6");
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Discard);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &total);
        curl_easy_perform(easy);
    }
    curl_easy_cleanup(easy);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: refresh_bench PORT [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    char root[] = "/tmp/tickwell-refresh-bench-XXXXXX";
    if (!::mkdtemp(root)) return 1;
    ::setenv("TICKWELL_DEVICE", root, 1);
    const std::string route = std::string("download.finance.yahoo.com:80:127.0.0.1:") + argv[1];
    ::setenv("TICKWELL_CONNECT_TO", route.c_str(), 1);
    ::mkdir((std::string(root) + "/PIVData").c_str(), 0755);

    platform::testing::HeadlessDevice device(120, 40);
    platform::testing::MessageBoxLog messages;
    appInstance = RegisterModule(&AppResources());
    for (const char16_t* name : ColumnFlagNames) WriteSettingFlag(name, true);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = u"PIV";
    RegisterClassW(&wc);
    mainWindow =
        CreateWindowExW(0, u"PIV", u"PIV", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, nullptr, nullptr, appInstance, nullptr);
    quoteListView = CreateQuoteList(mainWindow);
    FillBenchPortfolio();
    const std::vector<std::string> targets = Targets();
    std::vector<double> refresh, http, curl;
    for (int i = 0; i < rounds + 2; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const int ok = DownloadQuotes();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (!ok || !messages.records().empty()) {
            std::fprintf(stderr, "refresh failed\n");
            return 1;
        }
        // Alternating which goes first after the refresh, whose disk flush may still be under
        // way: neither always pays for it.
        double httpMs = 0, curlMs = 0;
        if (i % 2) {
            httpMs = HttpOnly();
            curlMs = Curl(argv[1], targets);
        } else {
            curlMs = Curl(argv[1], targets);
            httpMs = HttpOnly();
        }
        if (i < 2) continue;  // warm-up
        refresh.push_back(ms);
        http.push_back(httpMs);
        curl.push_back(curlMs);
    }
    std::printf("rows %d\nrefresh_ms %.3f\nhttp_ms %.3f\ncurl_ms %.3f\n", PortfolioRowCount(),
                Median(refresh), Median(http), Median(curl));
    std::system((std::string("rm -rf ") + root).c_str());
    return 0;
}
