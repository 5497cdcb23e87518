// Text made safe for one part of an address: a path segment or a query value.
#pragma once

#include <string>

namespace quotes {

// Percent-encodes everything but letters, digits and "-._~" (and the dots of a text of dots
// alone), so that a symbol can neither add a query key nor reach another path.
std::string UrlEncode(const std::string& text);

}  // namespace quotes
