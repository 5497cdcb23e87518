#include "table_checks.h"

#include <cstring>
#include <string>

#include "fuzz_check.h"

namespace tickwell_fuzz {
namespace {

struct FieldPlace {
    std::size_t offset;  // in units from the record's start
    std::size_t width;
};

// Where each field lies in a record, worked out once.
const FieldPlace* Places() {
    static FieldPlace places[kQuoteFieldCount];
    static const bool ready = [] {
        QuoteRecord record;
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            const FieldRef field = FieldOf(record, static_cast<QuoteField>(f));
            places[f] = {static_cast<std::size_t>(field.text - record.symbol), field.width};
        }
        return true;
    }();
    (void)ready;
    return places;
}

const char16_t* Units(const QuoteRecord& record) {
    return reinterpret_cast<const char16_t*>(&record);
}

bool SameText(const char16_t* a, const char16_t* b, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        if (a[i] != b[i]) return false;
        if (a[i] == 0) return true;
    }
    return false;
}

}  // namespace

void ClearTable() {
    std::memset(Portfolio, 0, sizeof Portfolio);
}

void CheckTableShape() {
    const FieldPlace* places = Places();
    bool ended = false;
    for (const QuoteRecord& record : Portfolio) {
        const char16_t* units = Units(record);
        const bool inUse = units[places[0].offset] != 0;
        FUZZ_CHECK(!(ended && inUse));
        ended = ended || !inUse;
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            const char16_t* text = units + places[f].offset;
            if (!inUse) {
                FUZZ_CHECK(text[0] == 0);
                continue;
            }
            FUZZ_CHECK(std::char_traits<char16_t>::find(text, places[f].width, 0) != nullptr);
        }
    }
}

void Snapshot(Table& into) {
    std::memcpy(into.rows, Portfolio, sizeof into.rows);
}

bool SameTexts(const Table& a, const Table& b) {
    const FieldPlace* places = Places();
    for (int row = 0; row < kPortfolioRows; ++row) {
        const char16_t* x = Units(a.rows[row]);
        const char16_t* y = Units(b.rows[row]);
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            if (!SameText(x + places[f].offset, y + places[f].offset, places[f].width))
                return false;
        }
        if (x[places[0].offset] == 0) return true;  // past the rows in use
    }
    return true;
}

}  // namespace tickwell_fuzz
