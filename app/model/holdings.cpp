#include "model/holdings.h"

#include "model/fixed_text.h"
#include "model/portfolio.h"

Holding Holdings[kHoldingCapacity];
int holdingCount = 0;

namespace {

constexpr int kMaxDecimalsOfShares = 6;

Holding* Find(const char16_t* symbol, const char16_t* code) {
    for (int i = 0; i < holdingCount; ++i) {
        Holding& h = Holdings[i];
        if (!h.kept && TextEquals(h.symbol, symbol) && TextEquals(h.exchangeCode, code)) return &h;
    }
    return nullptr;
}

// Digits with at most one point; `decimals` gets the digits after it. False for anything
// else, an empty text and a lone point included.
bool ReadPlainDecimal(const char16_t* text, int& decimals, bool& nonZero) {
    bool point = false;
    bool digits = false;
    decimals = 0;
    nonZero = false;
    std::size_t n = 0;
    for (; text[n] != 0; ++n) {
        const char16_t c = text[n];
        if (c == u'.' && !point) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            digits = true;
            if (c != u'0') nonZero = true;
            if (point) ++decimals;
        } else {
            return false;
        }
    }
    return digits && n < kHoldingNumberWidth;
}

}  // namespace

const Holding* FindHolding(const char16_t* symbol, const char16_t* code) {
    return Find(symbol, code);
}

bool SetHolding(const char16_t* symbol, const char16_t* code, const char16_t* shares,
                const char16_t* pricePaid) {
    Holding* h = Find(symbol, code);
    if (!h) {
        if (holdingCount >= kHoldingCapacity) return false;
        h = &Holdings[holdingCount++];
        *h = Holding{};
        SetText(h->symbol, symbol);
        SetText(h->exchangeCode, code);
    }
    SetText(h->shares, shares);
    SetText(h->pricePaid, pricePaid);
    return true;
}

void RemoveHolding(const char16_t* symbol, const char16_t* code) {
    const Holding* h = Find(symbol, code);
    if (!h) return;
    for (int i = static_cast<int>(h - Holdings); i + 1 < holdingCount; ++i)
        Holdings[i] = Holdings[i + 1];
    Holdings[--holdingCount] = Holding{};
}

void ClearHoldings() {
    for (int i = 0; i < holdingCount; ++i) Holdings[i] = Holding{};
    holdingCount = 0;
}

bool AnyRowHeld() {
    for (int row = 0; RowInUse(row); ++row) {
        if (Find(Portfolio[row].symbol, Portfolio[row].exchangeCode)) return true;
    }
    return false;
}

bool IsValidShares(const char16_t* text) {
    int decimals = 0;
    bool nonZero = false;
    return ReadPlainDecimal(text, decimals, nonZero) && nonZero && decimals <= kMaxDecimalsOfShares;
}

bool IsValidPricePaid(const char16_t* text) {
    int decimals = 0;
    bool nonZero = false;
    return IsEmptyText(text) || ReadPlainDecimal(text, decimals, nonZero);
}
