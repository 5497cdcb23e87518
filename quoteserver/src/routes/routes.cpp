#include "routes/routes.h"

#include "protocol/history_query.h"
#include "protocol/quote_line.h"
#include "protocol/quote_request.h"
#include "routes/service_pages.h"
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

// The quote reply; nothing when `atOnce` and a source would have to call upstream.
std::optional<Reply> QuoteReply(std::string_view query, const Request& request,
                                SourceChain& sources, bool atOnce) {
    Reply reply;
    reply.isQuotes = true;
    const auto s = QueryValue(query, "s");
    const std::vector<std::string> symbols = s ? ParseSymbolList(*s) : std::vector<std::string>();
    const auto f = QueryValue(query, "f");
    const std::vector<std::string> tags = f ? ParseTags(*f) : std::vector<std::string>();
    if (symbols.empty()) {
        reply.body = kMissingSymbolsBody;
        return reply;
    }
    if (tags.empty()) {
        reply.body = kMissingFormatBody;
        return reply;
    }
    std::optional<ChainReply> quotes =
        atOnce ? sources.QuotesAtOnce(symbols, tags, request.utcSeconds)
               : sources.Quotes(symbols, tags, request.utcSeconds, request.deadlineMs);
    if (!quotes) return std::nullopt;
    if (!quotes->complete) return Plain(503, kUnavailableBody);
    reply.body = std::move(quotes->body);
    return reply;
}

// An unknown symbol gets the page a missing one did.
Reply HistoryReply(std::string_view query, const Request& request, SourceChain& sources) {
    HistoryAnswer answer = sources.History(query, request.utcSeconds, request.deadlineMs);
    if (answer.kind == AnswerKind::unknown) return Html(404, NotFoundPage());
    if (answer.kind == AnswerKind::none) return Plain(503, kUnavailableBody);
    Reply reply;
    reply.contentType = "text/csv; charset=utf-8";
    reply.body = std::move(answer.table);
    return reply;
}

// A page of a symbol: drawn by a source, or where a live source keeps its own.
Reply SymbolPage(PageKind page, const std::string& symbol, const Request& request,
                 SourceChain& sources) {
    PageAnswer answer = sources.Page(page, symbol, request.utcSeconds, request.deadlineMs);
    if (answer.kind == AnswerKind::none && !answer.html.empty())
        return Html(503, std::move(answer.html));
    if (answer.kind == AnswerKind::none) {
        const char* what = page == PageKind::chart  ? " chart"
                           : page == PageKind::news ? " news"
                                                    : "Market summary";
        return Html(503, NoPagePage(symbol + what, symbol));
    }
    if (answer.kind == AnswerKind::unknown)
        return Html(404, answer.html.empty() ? NotFoundPage() : std::move(answer.html));
    return Html(200, std::move(answer.html));
}

Reply RawPage(std::string_view query, const Request& request, SourceChain& sources) {
    const std::string dp = DecodedValue(query, "dp");
    if (dp == "page" && DecodedValue(query, "pg") == "finance/quote_chart") {
        return SymbolPage(PageKind::chart, DecodedValue(query, "s"), request, sources);
    }
    if (dp == "news") {
        std::string symbol = DecodedValue(query, "tn");
        if (!symbol.empty() && symbol.front() == '_') symbol.erase(0, 1);
        return SymbolPage(PageKind::news, symbol, request, sources);
    }
    return Html(404, NotFoundPage());
}

constexpr std::string_view kOverviewPath = "/palm/marketwatch/overview.asp";

std::optional<Reply> Route(const Request& request, SourceChain& sources, bool atOnce) {
    if (request.method != "GET" && request.method != "HEAD") {
        return Plain(405, "Method Not Allowed\r\n");
    }
    const auto origin = OriginForm(request.target);
    if (!origin) return Plain(400, "Bad Request\r\n");
    const std::string_view path = PathPart(*origin);
    const std::string_view query = QueryPart(*origin);
    // Nothing is served from files; a path is only ever compared with the fixed routes.
    if (path == kQuotePath || path == kQuotePathSingular || path == kQuotePathBare) {
        return QuoteReply(query, request, sources, atOnce);
    }
    if (path == kHistoryPath) {
        if (atOnce && sources.Blocks()) return std::nullopt;
        return HistoryReply(query, request, sources);
    }
    const bool page = path == "/raw" || path == kOverviewPath;
    // A page a live source draws from its calls is answered on the pool, as a history is.
    if (page && atOnce && sources.Blocks()) return std::nullopt;
    if (path == "/raw") return RawPage(query, request, sources);
    if (path == kOverviewPath) return SymbolPage(PageKind::overview, "", request, sources);
    if (path == kStatusPath) return Plain(200, sources.Status());
    if (path == "/" || path == "/pdapage.htm") return Html(200, MakerPage());
    return Html(404, NotFoundPage());
}

}  // namespace

Reply Respond(const Request& request, SourceChain& sources) {
    return *Route(request, sources, false);
}

std::optional<Reply> RespondAtOnce(const Request& request, SourceChain& sources) {
    return Route(request, sources, true);
}

Routes::Routes(SourceChain& sources) : sources_(sources), blocks_(sources.Blocks()) {}

std::optional<Reply> Routes::AnswerAtOnce(const Request& request) {
    return RespondAtOnce(request, sources_);
}

Reply Routes::Answer(const Request& request) {
    return Respond(request, sources_);
}

}  // namespace quotes
