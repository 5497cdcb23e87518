#include "routes/service_pages.h"

namespace quotes {
namespace {

std::string Page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title +
           "</title></head>\n<body>\n<h1>" + title + "</h1>\n" + body +
           "<p><small>The Tickwell quote service.</small></p>\n</body></html>\n";
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

std::string NoPagePage() {
    return Page("No page", "<p>None of the service's quote sources draws this page.</p>\n");
}

}  // namespace quotes
