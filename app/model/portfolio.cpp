#include "model/portfolio.h"

#include "model/fixed_text.h"

QuoteRecord Portfolio[kPortfolioRows];

bool RowInUse(int row) {
    return row >= 0 && row < kPortfolioRows && !IsEmptyText(Portfolio[row].symbol);
}

int PortfolioRowCount() {
    int count = 0;
    while (RowInUse(count)) ++count;
    return count;
}

int FindQuoteRow(const char16_t* symbol, const char16_t* code) {
    for (int row = 0; RowInUse(row); ++row) {
        if (TextEquals(Portfolio[row].symbol, symbol) &&
            TextEquals(Portfolio[row].exchangeCode, code)) {
            return row;
        }
    }
    return kNoRow;
}

int AppendQuoteRow(const char16_t* symbol, const char16_t* code) {
    // A row without a symbol would not be in use, and would break the prefix rule.
    if (!symbol || IsEmptyText(symbol)) return kNoRow;
    const int row = PortfolioRowCount();
    if (row >= kPortfolioRows) return kNoRow;
    QuoteRecord& record = Portfolio[row];
    SetText(record.symbol, symbol);
    SetText(record.exchangeCode, code);
    SetQuoteFieldsToPlaceholder(record);
    return row;
}

void DeleteQuoteRow(int row) {
    if (!RowInUse(row)) return;
    int k = row;
    while (k < kPortfolioRows - 1 && RowInUse(k)) {
        Portfolio[k] = Portfolio[k + 1];
        ++k;
    }
    if (k == kPortfolioRows - 1) ClearRecord(Portfolio[k]);
}

void ClearPortfolio() {
    for (QuoteRecord& record : Portfolio) ClearRecord(record);
}
