#include "routes.h"

#include "history.h"
#include "pages.h"
#include "quote_format.h"
#include "quote_request.h"

namespace quotes {
namespace {

Reply Html(int status, std::string body) {
    Reply reply;
    reply.status = status;
    reply.contentType = "text/html; charset=utf-8";
    reply.body = std::move(body);
    return reply;
}

Reply Plain(int status, std::string body) {
    Reply reply;
    reply.status = status;
    reply.body = std::move(body);
    return reply;
}

std::string DecodedValue(std::string_view query, std::string_view key) {
    const auto value = QueryValue(query, key);
    return value ? PercentDecode(*value) : std::string();
}

Reply QuoteReply(std::string_view query, std::int64_t now) {
    Reply reply;
    reply.isQuotes = true;
    const auto s = QueryValue(query, "s");
    const std::vector<std::string> symbols = s ? ParseSymbolList(*s) : std::vector<std::string>();
    const auto f = QueryValue(query, "f");
    const std::vector<std::string> tags = f ? ParseTags(*f) : std::vector<std::string>();
    if (symbols.empty()) {
        reply.body = kMissingSymbolsBody;
    } else if (tags.empty()) {
        reply.body = kMissingFormatBody;
    } else {
        reply.body = FormatQuoteReply(symbols, tags, now);
    }
    return reply;
}

// An unknown symbol gets the page a missing one did.
Reply HistoryReply(std::string_view query, std::int64_t now) {
    auto table = HistoryTable(query, now);
    if (!table) return Html(404, NotFoundPage());
    Reply reply;
    reply.contentType = "text/csv; charset=utf-8";
    reply.body = std::move(*table);
    return reply;
}

Reply RawPage(std::string_view query, std::int64_t now) {
    const std::string dp = DecodedValue(query, "dp");
    if (dp == "page" && DecodedValue(query, "pg") == "finance/quote_chart") {
        return Html(200, ChartPage(DecodedValue(query, "s"), now));
    }
    if (dp == "news") {
        std::string symbol = DecodedValue(query, "tn");
        if (!symbol.empty() && symbol.front() == '_') symbol.erase(0, 1);
        return Html(200, NewsPage(symbol, now));
    }
    return Html(404, NotFoundPage());
}

}  // namespace

Reply Respond(std::string_view method, std::string_view target, std::int64_t now) {
    if (method != "GET" && method != "HEAD") return Plain(405, "Method Not Allowed\r\n");
    const auto origin = OriginForm(target);
    if (!origin) return Plain(400, "Bad Request\r\n");
    const std::string_view path = PathPart(*origin);
    const std::string_view query = QueryPart(*origin);
    // Nothing is served from files; a path is only ever compared with the fixed routes.
    if (path == kQuotePath || path == kQuotePathSingular || path == kQuotePathBare) {
        return QuoteReply(query, now);
    }
    if (path == kHistoryPath) return HistoryReply(query, now);
    if (path == "/raw") return RawPage(query, now);
    if (path == "/palm/marketwatch/overview.asp") return Html(200, OverviewPage(now));
    if (path == "/" || path == "/pdapage.htm") return Html(200, MakerPage());
    return Html(404, NotFoundPage());
}

}  // namespace quotes
