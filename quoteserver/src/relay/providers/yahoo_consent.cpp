#include "relay/providers/yahoo_consent.h"

#include <cctype>
#include <map>

#include "pages/html.h"
#include "relay/upstream_http.h"

namespace quotes {
namespace {

constexpr std::size_t kMostFields = 32;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A hidden field's value with its entities read.
std::string Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = text[i] == '&' ? ReadEntity(text, i, out) : 0;
        if (length == 0) out += text[i];
        i += length ? length : 1;
    }
    return out;
}

// The attributes of the tag that opens at `at` ("<input ..."), names in lower case.
std::map<std::string, std::string> Attributes(const std::string& html, std::size_t at) {
    std::map<std::string, std::string> found;
    const std::size_t end = html.find('>', at);
    std::size_t i = html.find_first_of(" \t\r\n", at);
    while (i != std::string::npos && i < end) {
        const std::size_t nameStart = html.find_first_not_of(" \t\r\n/", i);
        if (nameStart == std::string::npos || nameStart >= end) break;
        const std::size_t nameEnd = html.find_first_of("= \t\r\n>", nameStart);
        if (nameEnd == std::string::npos) break;
        std::string name = Lower(html.substr(nameStart, nameEnd - nameStart));
        i = nameEnd;
        if (html[nameEnd] != '=') {
            found[name];
            continue;
        }
        const char quote = html[nameEnd + 1];
        const bool quoted = quote == '"' || quote == '\'';
        const std::size_t valueStart = nameEnd + 1 + (quoted ? 1 : 0);
        const std::size_t valueEnd =
            quoted ? html.find(quote, valueStart) : html.find_first_of(" \t\r\n>", valueStart);
        if (valueEnd == std::string::npos) break;
        found[name] = Unescaped(html.substr(valueStart, valueEnd - valueStart));
        i = valueEnd + (quoted ? 1 : 0);
    }
    return found;
}

// `target` read against the page's address: whole, from the host's root, or beside the page.
std::string Resolved(const std::string& page, const std::string& target) {
    if (target.rfind("http://", 0) == 0 || target.rfind("https://", 0) == 0) return target;
    const std::size_t scheme = page.find("://");
    const std::size_t root = page.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    const std::string origin = page.substr(0, root);
    if (!target.empty() && target[0] == '/') return origin + target;
    const std::string path = page.substr(0, page.find('?'));
    return path.substr(0, path.rfind('/') + 1) + target;
}

}  // namespace

bool IsConsentPage(const std::string& finalUrl, const std::string& body) {
    const std::string url = Lower(finalUrl.substr(0, finalUrl.find('/', finalUrl.find("://") + 3)));
    if (url.find("consent.yahoo.com") != std::string::npos ||
        url.find("guce.yahoo.com") != std::string::npos)
        return true;
    // Elsewhere (a mirror, a proxy's address) by its form's two fields.
    return body.find("<form") != std::string::npos && body.find("csrfToken") != std::string::npos &&
           body.find("sessionId") != std::string::npos;
}

std::optional<ConsentReply> RejectAll(const std::string& finalUrl, const std::string& body) {
    const std::string html = Lower(body);
    const std::size_t form = html.find("<form");
    if (form == std::string::npos) return std::nullopt;
    const std::size_t formEnd = html.find("</form", form);
    ConsentReply reply;
    const auto formAttributes = Attributes(body, form);
    const auto action = formAttributes.find("action");
    reply.url = Resolved(finalUrl, action == formAttributes.end() ? "" : action->second);
    bool token = false, session = false;
    std::size_t fields = 0;
    for (std::size_t at = html.find("<input", form); at < formEnd && fields < kMostFields;
         at = html.find("<input", at + 1), ++fields) {
        const auto input = Attributes(body, at);
        const auto type = input.find("type"), name = input.find("name");
        if (type == input.end() || Lower(type->second) != "hidden" || name == input.end()) continue;
        const auto value = input.find("value");
        token = token || name->second == "csrfToken";
        session = session || name->second == "sessionId";
        reply.form += UrlEncode(name->second) + "=" +
                      UrlEncode(value == input.end() ? "" : value->second) + "&";
    }
    if (!token || !session) return std::nullopt;
    reply.form += "reject=reject";
    return reply;
}

}  // namespace quotes
