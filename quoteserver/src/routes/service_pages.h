// The service's own pages, whatever its sources: the maker's page, "not found", and the page
// for a chart or news that no source in use draws.
#pragma once

#include <string>

namespace quotes {

std::string MakerPage();
std::string NotFoundPage();
std::string NoPagePage();

}  // namespace quotes
