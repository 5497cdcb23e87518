// The holdings file reader on any bytes: what it keeps is a table it could write, every entry
// either a valid holding (one per row) or a line kept as it was, and what it writes reads back
// as the same table.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "model/fixed_text.h"
#include "model/holdings.h"
#include "model/holdings_file.h"

namespace {

std::vector<Holding> Snapshot() {
    return std::vector<Holding>(Holdings, Holdings + holdingCount);
}

bool Same(const Holding& a, const Holding& b) {
    if (a.kept != b.kept) return false;
    if (a.kept) {
        return a.keptLength == b.keptLength &&
               std::memcmp(a.keptLine, b.keptLine, a.keptLength) == 0;
    }
    return TextEquals(a.symbol, b.symbol) && TextEquals(a.exchangeCode, b.exchangeCode) &&
           TextEquals(a.shares, b.shares) && TextEquals(a.pricePaid, b.pricePaid);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!ParseHoldings(reinterpret_cast<const char*>(data), size)) {
        FUZZ_CHECK(holdingCount == 0);  // an unkeepable file leaves no holdings
        return 0;
    }
    FUZZ_CHECK(holdingCount >= 0 && holdingCount <= kHoldingCapacity);
    std::string written = std::string(HoldingsFile::kHeader) + "\n";
    for (int i = 0; i < holdingCount; ++i) {
        const Holding& h = Holdings[i];
        if (h.kept) {
            FUZZ_CHECK(h.keptLength > 0 && h.keptLength < kKeptLineWidth);
        } else {
            FUZZ_CHECK(IsValidShares(h.shares) && IsValidPricePaid(h.pricePaid));
            FUZZ_CHECK(FindHolding(h.symbol, h.exchangeCode) == &h);  // one per row
        }
        char line[kHoldingLineCapacity];
        written.append(line, FormatHoldingLine(h, line));
    }
    const std::vector<Holding> loaded = Snapshot();
    FUZZ_CHECK(ParseHoldings(written.data(), written.size()));
    const std::vector<Holding> reloaded = Snapshot();
    FUZZ_CHECK(loaded.size() == reloaded.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) FUZZ_CHECK(Same(loaded[i], reloaded[i]));
    return 0;
}
