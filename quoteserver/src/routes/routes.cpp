#include "routes/routes.h"

#include "protocol/history_query.h"
#include "protocol/quote_line.h"
#include "protocol/quote_request.h"
#include "sim/pages.h"
#include "sources/source_chain.h"

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

Reply QuoteReply(std::string_view query, std::int64_t now, SourceChain& sources) {
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
        ChainReply quotes = sources.Quotes(symbols, tags, now);
        if (!quotes.complete) return Plain(503, kUnavailableBody);
        reply.body = std::move(quotes.body);
    }
    return reply;
}

// An unknown symbol gets the page a missing one did.
Reply HistoryReply(std::string_view query, std::int64_t now, SourceChain& sources) {
    HistoryAnswer answer = sources.History(query, now);
    if (answer.kind == AnswerKind::unknown) return Html(404, NotFoundPage());
    if (answer.kind == AnswerKind::none) return Plain(503, kUnavailableBody);
    Reply reply;
    reply.contentType = "text/csv; charset=utf-8";
    reply.body = std::move(answer.table);
    return reply;
}

Reply Redirect(std::string location) {
    Reply reply = Html(302, "<html><body><a href=\"" + location + "\">Moved</a></body></html>");
    reply.location = std::move(location);
    return reply;
}

// A page of a symbol: drawn here, or where the live source keeps its own.
Reply SymbolPage(std::string_view page, const std::string& symbol, std::int64_t now,
                 const SourceChain& sources) {
    if (auto address = sources.PageAddress(page, symbol)) return Redirect(std::move(*address));
    if (page == "chart") return Html(200, ChartPage(symbol, now));
    if (page == "news") return Html(200, NewsPage(symbol, now));
    return Html(200, OverviewPage(now));
}

Reply RawPage(std::string_view query, std::int64_t now, const SourceChain& sources) {
    const std::string dp = DecodedValue(query, "dp");
    if (dp == "page" && DecodedValue(query, "pg") == "finance/quote_chart") {
        return SymbolPage("chart", DecodedValue(query, "s"), now, sources);
    }
    if (dp == "news") {
        std::string symbol = DecodedValue(query, "tn");
        if (!symbol.empty() && symbol.front() == '_') symbol.erase(0, 1);
        return SymbolPage("news", symbol, now, sources);
    }
    return Html(404, NotFoundPage());
}

}  // namespace

Reply Respond(std::string_view method, std::string_view target, std::int64_t now) {
    static SourceChain simulated = SourceChain::Simulated();
    return Respond(method, target, now, simulated);
}

Reply Respond(std::string_view method, std::string_view target, std::int64_t now,
              SourceChain& sources) {
    if (method != "GET" && method != "HEAD") return Plain(405, "Method Not Allowed\r\n");
    const auto origin = OriginForm(target);
    if (!origin) return Plain(400, "Bad Request\r\n");
    const std::string_view path = PathPart(*origin);
    const std::string_view query = QueryPart(*origin);
    // Nothing is served from files; a path is only ever compared with the fixed routes.
    if (path == kQuotePath || path == kQuotePathSingular || path == kQuotePathBare) {
        return QuoteReply(query, now, sources);
    }
    if (path == kHistoryPath) return HistoryReply(query, now, sources);
    if (path == "/raw") return RawPage(query, now, sources);
    if (path == "/palm/marketwatch/overview.asp") return SymbolPage("overview", "", now, sources);
    if (path == kStatusPath) return Plain(200, sources.Status());
    if (path == "/" || path == "/pdapage.htm") return Html(200, MakerPage());
    return Html(404, NotFoundPage());
}

}  // namespace quotes
