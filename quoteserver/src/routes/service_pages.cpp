#include "routes/service_pages.h"

#include "pages/html.h"
#include "pages/symbol_pages.h"

namespace quotes {
namespace {

constexpr const char* kService = "The Tickwell quote service.";

std::string Page(const std::string& title, const std::string& body) {
    return HtmlPage(title, body, kService);
}

}  // namespace

std::string MakerPage() {
    return Page("Tickwell",
                "<p>Tickwell is a terminal stock-quote portfolio viewer: up to 200 symbols on "
                "50 exchanges, refreshed on request or on a timer.</p>\n"
                "<p>Keys: F1 refreshes, F2 opens Tools, F3 opens Help, Ctrl+Q quits.</p>\n");
}

std::string NotFoundPage() {
    return Page("Not found", "<p>There is no such page.</p>\n");
}

std::string NoPagePage(const std::string& what, const std::string& symbol) {
    return HtmlPage(what,
                    (symbol.empty() ? "" : ChartLinkHtml(symbol)) +
                        "<p>No quote source in use could give this page now: none "
                        "draws it, or none answered.</p>\n",
                    kService);
}

}  // namespace quotes
