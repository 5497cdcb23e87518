// The viewer's symbols as each live source spells them. The viewer writes a listing as SYMBOL
// plus the exchange's suffix (".TO", ".L"; none for the USA's major exchanges).
#pragma once

#include <cstdint>
#include <string>

namespace quotes {

// ASCII letters in upper case: sources answer symbols so.
std::string UpperCase(std::string text);
// Yahoo's symbol: the suffix unchanged but for Vienna (.VA is .VI), Madrid (.MA is .MC) and
// the US over-the-counter markets (.OB and .PK are bare); "" for the markets Yahoo no longer
// carries (the old futures suffixes, Barcelona, Bilbao, Madrid fixed income). Upper case.
std::string YahooSymbol(const std::string& requested);
// A US listing as the keyed sources' free plans carry it: a bare symbol, or an OTC one made
// bare; "" for everything else (other markets, indices, currencies).
std::string UsListingSymbol(const std::string& requested);
// Seconds east of UTC in New York at an instant: -4 h from the second Sunday of March to the
// first Sunday of November, -5 h otherwise.
int NewYorkOffsetSeconds(std::int64_t utcSeconds);

}  // namespace quotes
