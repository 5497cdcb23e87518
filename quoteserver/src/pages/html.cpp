#include "pages/html.h"

#include <cstdio>

namespace quotes {

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::size_t ReadEntity(std::string_view html, std::size_t at, std::string& out) {
    static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&amp;", "&"},  {"&lt;", "<"},   {"&gt;", ">"},   {"&quot;", "\""},
        {"&#39;", "'"},  {"&apos;", "'"}, {"&nbsp;", " "}, {"&#8217;", "\xE2\x80\x99"},
        {"&#x2F;", "/"}, {"&#47;", "/"}};
    for (const auto& [entity, text] : kEntities) {
        if (html.substr(at, entity.size()) == entity) {
            out += text;
            return entity.size();
        }
    }
    return 0;
}

std::string FixedText(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string HtmlPage(const std::string& title, const std::string& body, const std::string& origin) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
           "</title></head>\n<body>\n<h1>" + HtmlEscape(title) + "</h1>\n" + body + "<p><small>" +
           HtmlEscape(origin) + "</small></p>\n</body></html>\n";
}

}  // namespace quotes
