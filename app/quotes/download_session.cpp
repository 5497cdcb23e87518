#include "quotes/download_session.h"

#include "listview/quote_columns.h"
#include "listview/quote_rows.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "platform/kernel32/clock.h"
#include "platform/kernel32/files.h"
#include "platform/kernel32/memory.h"
#include "platform/user32/message_box.h"
#include "platform/user32/window.h"
#include "platform/wininet/wininet.h"
#include "quotes/quote_batch.h"
#include "quotes/reply_lines.h"
#include "quotes/reply_reader.h"
#include "settings/proxy_settings.h"
#include "shell/app_state.h"

namespace {

constexpr const char16_t* kNoConnection = u"Could not find an Internet connection";
constexpr const char16_t* kServerFailed =
    u"Could not connect to the quote server, please try again later";
constexpr const char16_t* kNoMemory = u"Could not allocate enough memory";
constexpr const char16_t* kNoFile = u"Could not open file";
constexpr const char16_t* kNoFileSize = u"Could not find file size";
constexpr DWORD kStatusOk = 200;
// "HTTP://", 48 characters of host, ":" and 4 of port.
constexpr std::size_t kProxyTextWidth = 61;

bool downloadRunning = false;

class RunningDownload {
public:
    RunningDownload() { downloadRunning = true; }
    ~RunningDownload() { downloadRunning = false; }
    RunningDownload(const RunningDownload&) = delete;
    RunningDownload& operator=(const RunningDownload&) = delete;
};

void ShowError(const char16_t* text) {
    MessageBoxW(nullptr, text, u"Error", MB_OK);
}

HINTERNET OpenSession() {
    if (!proxySettings.useProxy)
        return InternetOpenW(kQuoteAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    char16_t proxy[kProxyTextWidth];
    SetText(proxy, u"HTTP://");
    AddText(proxy, proxySettings.proxyHost);
    if (!IsEmptyText(proxySettings.proxyPort)) {
        AddText(proxy, u":");
        AddText(proxy, proxySettings.proxyPort);
    }
    return InternetOpenW(kQuoteAgent, INTERNET_OPEN_TYPE_PROXY, proxy, nullptr, 0);
}

bool ReadFromRequest(void* request, unsigned char* into, DWORD size, DWORD* got) {
    return InternetReadFile(static_cast<HINTERNET>(request), into, size, got) != FALSE;
}

// A reply other than 200 (an overload page, a server error) is a failed request: nothing of
// it is parsed.
bool SendBatch(HINTERNET request) {
    if (!request || !HttpSendRequestW(request, nullptr, 0, nullptr, 0)) return false;
    DWORD status = 0;
    DWORD size = sizeof status;
    return HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                          nullptr) &&
           status == kStatusOk;
}

// Runs every batch; false (its message shown, every handle and the buffer released) when a
// request fails.
bool DownloadBatches(HINTERNET session, HINTERNET connection,
                     unsigned char (&reply)[kReplyBufferSize]) {
    QuoteBatch batch;
    batch.startRow = 0;
    for (;;) {
        BuildQuoteBatch(batch);
        const HINTERNET request =
            HttpOpenRequestW(connection, u"GET", batch.path, nullptr, nullptr, nullptr,
                             INTERNET_FLAG_NO_CACHE_WRITE, 0);
        if (!SendBatch(request)) {
            ShowError(kServerFailed);
            if (request) InternetCloseHandle(request);
            InternetCloseHandle(connection);
            InternetCloseHandle(session);
            LocalFree(reinterpret_cast<HLOCAL>(reply));
            return false;
        }
        const ReplyRead read = ReadReply(ReadFromRequest, request, reply);
        InternetCloseHandle(request);
        ApplyReplyLines(reply, read.count, read.cut);
        if (batch.nextStart >= kPortfolioRows) return true;
        batch.startRow = batch.nextStart;
    }
}

// The list rebuilt once any line has matched a row that existed, else rewritten in place.
void RefreshList() {
    if (quoteRowMatched) {
        DestroyWindow(quoteListView);
        quoteListView = CreateQuoteList(mainWindow);
        FillQuoteRows(quoteListView, FillMode::insert);
    } else {
        FillQuoteRows(quoteListView, FillMode::updateInPlace);
    }
}

int SaveAndShow() {
    const HANDLE file = OpenPortfolioFileHandle(PortfolioFileMode::replace);
    if (file == INVALID_HANDLE_VALUE) {
        ShowError(kNoFile);
        return 0;
    }
    if (GetFileSize(file, nullptr) == INVALID_FILE_SIZE) {
        ShowError(kNoFileSize);
        CloseHandle(file);
        return 0;
    }
    SavePortfolio(file);  // says so itself when it fails
    RefreshList();
    CloseHandle(file);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    UpdateTitleLine(now);
    return 1;
}

}  // namespace

int DownloadQuotes() {
    if (downloadRunning) return 0;
    const RunningDownload running;
    const HINTERNET session = OpenSession();
    if (!session) {
        ShowError(kNoConnection);
        return 0;
    }
    const HINTERNET connection =
        InternetConnectW(session, kQuoteServerHost, INTERNET_DEFAULT_HTTP_PORT, nullptr, nullptr,
                         INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection) {
        ShowError(kServerFailed);
        InternetCloseHandle(session);
        return 0;
    }
    void* block = LocalAlloc(LPTR, kReplyBufferSize);
    if (!block) {
        ShowError(kNoMemory);
        InternetCloseHandle(connection);
        InternetCloseHandle(session);
        return 0;
    }
    auto& reply = *static_cast<unsigned char(*)[kReplyBufferSize]>(block);
    if (!DownloadBatches(session, connection, reply)) return 0;
    LocalFree(static_cast<HLOCAL>(block));
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
    return SaveAndShow();
}
