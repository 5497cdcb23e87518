#include "listview/quote_list_notify.h"

#include "listview/quote_columns.h"
#include "listview/quote_sort.h"
#include "listview/row_selection.h"
#include "platform/comctl32/controls.h"

LRESULT OnQuoteListNotify(HWND mainWindow, UINT, WPARAM controlId, LPARAM record) {
    const auto* header = reinterpret_cast<const NMHDR*>(record);
    if (controlId != QuoteListView::kControlId || !header) return 0;
    switch (header->code) {
        case LVN_COLUMNCLICK:
            SortQuoteList(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(record)->iSubItem);
            return 0;
        case NM_CLICK: SelectTappedRow(mainWindow); return 0;
        default: return 0;
    }
}
