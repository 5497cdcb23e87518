#include "listview/holding_columns.h"

#include "listview/quote_sort.h"
#include "model/fixed_text.h"
#include "model/holding_figures.h"
#include "model/holdings.h"

int firstHoldingColumn = -1;

namespace {

struct HoldingColumnDef {
    const char16_t* title;
    int width;  // pixels
};

const HoldingColumnDef kHoldingColumns[kHoldingColumnCount] = {
    {u"Shares", 60},
    {u"Value", 75},
    {u"Day Gain", 70},
    {u"Gain", 75},
};

// The figure a column shows for a row, or false when the row has none.
bool FigureOf(int column, const QuoteRecord& row, double& figure) {
    const Holding* holding = FindHolding(row.symbol, row.exchangeCode);
    if (!holding) return false;
    if (column == 0) return ReadQuoteNumber(holding->shares, figure);
    const HoldingFigures f = FiguresOf(*holding, row);
    switch (column) {
        case 1: figure = f.value; return f.priced;
        case 2: figure = f.dayGain; return f.changeKnown;
        default: figure = f.gain; return f.costKnown;
    }
}

}  // namespace

int InsertHoldingColumns(const platform::ListViewCtrl& list, int position) {
    firstHoldingColumn = -1;
    if (!AnyRowHeld()) return position;
    firstHoldingColumn = position;
    for (const HoldingColumnDef& c : kHoldingColumns) {
        list.InsertColumn(position, c.title, LVCFMT_RIGHT, c.width, position);
        ++position;
    }
    return position;
}

void WriteHoldingCells(const platform::ListViewCtrl& list, int item, const QuoteRecord& row) {
    if (firstHoldingColumn < 0) return;
    const Holding* holding = FindHolding(row.symbol, row.exchangeCode);
    for (int column = 0; column < kHoldingColumnCount; ++column) {
        char16_t text[kAmountWidth] = {};
        double figure = 0;
        if (column == 0 && holding) {
            SetText(text, holding->shares);
        } else if (FigureOf(column, row, figure)) {
            FormatAmount(figure, column >= 2, text);  // gains carry their sign
        }
        list.SetItemText(item, firstHoldingColumn + column, text);
    }
}

int HoldingColumnAt(int position) {
    if (firstHoldingColumn < 0 || position < firstHoldingColumn) return -1;
    const int column = position - firstHoldingColumn;
    return column < kHoldingColumnCount ? column : -1;
}

int CompareHoldingRows(int column, const QuoteRecord& a, const QuoteRecord& b, bool reversed) {
    double x = 0;
    double y = 0;
    const bool hasX = FigureOf(column, a, x);
    const bool hasY = FigureOf(column, b, y);
    if (!hasX || !hasY) return hasX == hasY ? 0 : (hasX ? -1 : 1);
    const int base = CompareNumbers(x, y);
    return reversed ? -base : base;
}
