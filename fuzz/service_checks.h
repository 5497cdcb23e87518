// What must hold of the quote service's answers to any request: a quote reply is whole lines
// ended by CR LF, each holding whole quoted texts and no control character, or one of the
// fixed messages; a history table is its header and rows of seven values; a page starts every
// tag itself, whatever the request echoes.
#pragma once

#include <string>

namespace tickwell_fuzz {

void CheckQuoteBody(const std::string& body);
void CheckTable(const std::string& body);
void CheckPage(const std::string& body);

}  // namespace tickwell_fuzz
