// What must hold of the portfolio table after any input: the rows in use form a prefix, every
// row after the end is wholly empty, and every field ends inside its width. Snapshots are
// plain copies of the table, so that a check costs no allocation.
#pragma once

#include "model/portfolio.h"

namespace tickwell_fuzz {

struct Table {
    QuoteRecord rows[kPortfolioRows];
};

// Empties the whole table, every byte.
void ClearTable();
void CheckTableShape();
// The table as it stands.
void Snapshot(Table& into);
// Whether the rows in use hold the same texts (what follows a field's end is not compared).
bool SameTexts(const Table& a, const Table& b);

}  // namespace tickwell_fuzz
