// What every page shares: text made safe for HTML, numbers, the page's frame.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quotes {

// `<`, `>`, `&`, `"` and `'` as entities: text from a source or a request is never markup.
std::string HtmlEscape(std::string_view text);
std::string FixedText(double value, int decimals);
// The entity of HTML that begins at `at` ("&amp;", "&#39;"...), appended to `out` as its text;
// how many bytes it took, 0 where no entity the pages know begins.
std::size_t ReadEntity(std::string_view html, std::size_t at, std::string& out);
// A whole page: its title as the heading, the body, and where its data comes from.
std::string HtmlPage(const std::string& title, const std::string& body, const std::string& origin);

}  // namespace quotes
