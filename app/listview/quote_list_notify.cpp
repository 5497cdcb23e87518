#include "listview/quote_list_notify.h"

#include "listview/quote_columns.h"
#include "platform/comctl32/controls.h"

LRESULT OnQuoteListNotify(HWND, UINT, WPARAM controlId, LPARAM record) {
    const auto* header = reinterpret_cast<const NMHDR*>(record);
    if (controlId != QuoteListView::kControlId || !header) return 0;
    return 0;
}
