// What every page shares: text made safe for HTML, numbers, the page's frame.
#pragma once

#include <string>
#include <string_view>

namespace quotes {

// `<`, `>`, `&`, `"` and `'` as entities: text from a source or a request is never markup.
std::string HtmlEscape(std::string_view text);
std::string FixedText(double value, int decimals);
// A whole page: its title as the heading, the body, and where its data comes from.
std::string HtmlPage(const std::string& title, const std::string& body, const std::string& origin);

}  // namespace quotes
