// The service's own pages, whatever its sources: the maker's page, "not found", and the page
// for a chart or news that no source in use draws.
#pragma once

#include <string>

namespace quotes {

std::string MakerPage();
std::string NotFoundPage();
// No source in use drew the page: which page, and a link to the symbol's chart when there is
// a symbol.
std::string NoPagePage(const std::string& what, const std::string& symbol);

}  // namespace quotes
