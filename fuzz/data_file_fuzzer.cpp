// The data file reader on any bytes: the table keeps its shape, and a save of what was loaded
// reloads to the same table, but for what saving does by design: an empty field is written as
// "*". Dotted symbols and the old Toronto code are made new at the first load.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "model/fixed_text.h"
#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "table_checks.h"

namespace {

// What a save does by design to a loaded table: an empty field of a row is written as "*".
void AsSaved(tickwell_fuzz::Table& table) {
    for (QuoteRecord& record : table.rows) {
        if (IsEmptyText(record.symbol)) break;
        for (int f = 0; f < kQuoteFieldCount; ++f) {
            const FieldRef field = FieldOf(record, static_cast<QuoteField>(f));
            if (IsEmptyText(field.text)) CopyTextN(field.text, field.width, u"*", 1);
        }
    }
}

tickwell_fuzz::Table loaded;
tickwell_fuzz::Table reloaded;
char16_t saved[kPortfolioRows * kPortfolioRecordCapacity];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // As the loader reads the file: UTF-16LE units, the first (the byte-order mark) skipped.
    std::vector<char16_t> units(size / sizeof(char16_t));
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    tickwell_fuzz::ClearTable();
    if (units.size() > 1) ParsePortfolioRecords(units.data() + 1, units.size() - 1);
    tickwell_fuzz::CheckTableShape();
    // Dotted symbols and the old Toronto code are made new at load.
    for (int row = 0; RowInUse(row); ++row) {
        for (const char16_t* c = Portfolio[row].symbol; *c; ++c) FUZZ_CHECK(*c != u'.');
        FUZZ_CHECK(!TextEquals(Portfolio[row].exchangeCode, u"C"));
    }
    tickwell_fuzz::Snapshot(loaded);

    std::size_t length = 0;
    for (int row = 0; RowInUse(row); ++row) {
        char16_t record[kPortfolioRecordCapacity];
        const std::size_t n = FormatPortfolioRecord(Portfolio[row], record);
        std::memcpy(saved + length, record, n * sizeof(char16_t));
        length += n;
    }
    tickwell_fuzz::ClearTable();
    ParsePortfolioRecords(saved, length);
    tickwell_fuzz::CheckTableShape();
    tickwell_fuzz::Snapshot(reloaded);
    AsSaved(loaded);
    FUZZ_CHECK(tickwell_fuzz::SameTexts(reloaded, loaded));
    return 0;
}
