// Yahoo's consent wall, met by clients in the EU: the cookie call lands on a page of
// consent.yahoo.com (or guce.yahoo.com) with a form instead of the site. The form is sent back
// with its hidden fields and the reject-all choice, and the redirects after it set the cookie.
#pragma once

#include <optional>
#include <string>

namespace quotes {

// Whether an answer that came from `finalUrl` is the consent page.
bool IsConsentPage(const std::string& finalUrl, const std::string& body);

struct ConsentReply {
    std::string url;   // where the form goes: its action, read against the page's address
    std::string form;  // its hidden fields and "reject=reject", x-www-form-urlencoded
};

// The reply that rejects every purpose; nothing when the page holds no consent form.
std::optional<ConsentReply> RejectAll(const std::string& finalUrl, const std::string& body);

}  // namespace quotes
