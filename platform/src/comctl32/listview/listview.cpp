// The list view ("SysListView32") in report mode: columns with titles, widths and alignments,
// items with texts per sub-item, a row image and item data, single selection and focus, the
// program's sort, header drag and drop by keys, full-row selection. Not supported: the icon,
// small-icon and list views, several selected rows, editing labels, groups, tooltips.
#include <algorithm>

#include "comctl32/listview/listview_state.h"
#include "platform/comctl32/controls.h"

namespace platform::detail {
namespace {

// Sub-items a row can hold texts for: more than any list has columns.
constexpr int kMostSubItems = 256;

// Where the text of `subItem` goes, or null past kMostSubItems. A row's texts are sized for
// every column at once: rows are filled a column at a time.
std::u16string* TextSlot(const ListState& s, ListItem& item, int subItem) {
    subItem = std::max(0, subItem);
    if (subItem >= kMostSubItems) return nullptr;
    if (static_cast<int>(item.texts.size()) <= subItem) {
        item.texts.reserve(std::max<std::size_t>(subItem + 1, s.columns.size()));
        item.texts.resize(subItem + 1);
    }
    return &item.texts[subItem];
}

bool SetText(const ListState& s, ListItem& item, int subItem, const char16_t* text) {
    std::u16string* slot = TextSlot(s, item, subItem);
    if (slot) *slot = text ? text : u"";
    return slot != nullptr;
}

LRESULT InsertColumn(ListState& s, int index, const LVCOLUMNW* c) {
    if (!c || index < 0) return -1;
    index = std::min(index, static_cast<int>(s.columns.size()));
    ListColumn column;
    if (c->mask & LVCF_FMT) {
        column.format = c->fmt & 0x3;
        column.sortMark = c->fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }
    if (c->mask & LVCF_WIDTH) column.width = std::max(0, c->cx);
    if ((c->mask & LVCF_TEXT) && c->pszText) column.title = c->pszText;
    column.subItem = (c->mask & LVCF_SUBITEM) ? c->iSubItem : index;
    s.columns.insert(s.columns.begin() + index, column);
    for (int& p : s.order) p += p >= index ? 1 : 0;
    s.order.insert(s.order.begin() + std::min<std::size_t>(index, s.order.size()), index);
    return index;
}

LRESULT GetColumn(const ListState& s, int index, LVCOLUMNW* c) {
    if (!c || index < 0 || index >= static_cast<int>(s.columns.size())) return FALSE;
    const ListColumn& column = s.columns[index];
    c->fmt = column.format | column.sortMark;
    c->cx = column.width;
    c->iSubItem = column.subItem;
    if ((c->mask & LVCF_TEXT) && c->pszText && c->cchTextMax > 0) {
        const std::size_t n = std::min<std::size_t>(column.title.size(), c->cchTextMax - 1);
        std::copy_n(column.title.begin(), n, c->pszText);
        c->pszText[n] = 0;
    }
    return TRUE;
}

// Only what the mask names changes; the column keeps its place.
LRESULT SetColumn(ListState& s, int index, const LVCOLUMNW* c) {
    if (!c || index < 0 || index >= static_cast<int>(s.columns.size())) return FALSE;
    ListColumn& column = s.columns[index];
    if (c->mask & LVCF_FMT) {
        column.format = c->fmt & 0x3;
        column.sortMark = c->fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }
    if (c->mask & LVCF_WIDTH) column.width = std::max(0, c->cx);
    if ((c->mask & LVCF_TEXT) && c->pszText) column.title = c->pszText;
    return TRUE;
}

void ApplyItem(const ListState& s, ListItem& item, const LVITEMW& v) {
    if ((v.mask & LVIF_TEXT)) SetText(s, item, v.iSubItem, v.pszText);
    if (v.iSubItem != 0) return;
    if (v.mask & LVIF_IMAGE) item.image = v.iImage;
    if (v.mask & LVIF_PARAM) item.param = v.lParam;
    if (v.mask & LVIF_STATE) item.state = (item.state & ~v.stateMask) | (v.state & v.stateMask);
}

LRESULT InsertItem(ListState& s, const LVITEMW* v) {
    if (!v || v->iSubItem != 0 || v->iItem < 0) return -1;
    const int index = std::min(v->iItem, static_cast<int>(s.items.size()));
    ListItem item;
    ApplyItem(s, item, *v);
    s.items.insert(s.items.begin() + index, item);
    return index;
}

bool ValidItem(const ListState& s, int index) {
    return index >= 0 && index < static_cast<int>(s.items.size());
}

LRESULT GetItemText(const ListState& s, int index, LVITEMW* v) {
    if (!v || !v->pszText || v->cchTextMax <= 0) return 0;
    v->pszText[0] = 0;
    if (!ValidItem(s, index) || v->iSubItem < 0) return 0;
    const auto& texts = s.items[index].texts;
    if (v->iSubItem >= static_cast<int>(texts.size())) return 0;
    const std::u16string& text = texts[v->iSubItem];
    const std::size_t n = std::min<std::size_t>(text.size(), v->cchTextMax - 1);
    std::copy_n(text.begin(), n, v->pszText);
    v->pszText[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT SetItemState(HWND list, ListState& s, int index, const LVITEMW* v) {
    if (!v) return FALSE;
    if (index == -1) {
        for (ListItem& item : s.items)
            item.state = (item.state & ~v->stateMask) | (v->state & v->stateMask);
        return TRUE;
    }
    if (!ValidItem(s, index)) return FALSE;
    if ((v->stateMask & LVIS_FOCUSED) && (v->state & LVIS_FOCUSED)) {
        FocusItem(list, s, index);
    }
    ListItem& item = s.items[index];
    item.state = (item.state & ~v->stateMask) | (v->state & v->stateMask);
    return TRUE;
}

LRESULT SortItems(ListState& s, LPARAM sortParam, PFNLVCOMPARE compare) {
    if (!compare) return FALSE;
    std::stable_sort(s.items.begin(), s.items.end(), [&](const ListItem& a, const ListItem& b) {
        return compare(a.param, b.param, sortParam) < 0;
    });
    return TRUE;
}

LRESULT SetColumnOrder(ListState& s, int count, const int* order) {
    if (!order || count != static_cast<int>(s.columns.size())) return FALSE;
    std::vector<int> next(order, order + count);
    std::vector<int> sorted = next;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < count; ++i) {
        if (sorted[i] != i) return FALSE;  // not a permutation of the positions
    }
    s.order = next;
    return TRUE;
}

LRESULT SetImageList(ListState& s, int which, HIMAGELIST list) {
    if (which != LVSIL_SMALL) return 0;
    const HIMAGELIST old = s.smallImages;
    s.smallImages = list;
    return reinterpret_cast<LRESULT>(old);
}

LVCOLUMNW* AsColumn(LPARAM lParam) {
    return reinterpret_cast<LVCOLUMNW*>(lParam);
}

int* AsOrder(LPARAM lParam) {
    return reinterpret_cast<int*>(lParam);
}

// The item's image, item data and state, and the text of the sub-item asked for.
LRESULT GetItem(const ListState& s, LVITEMW* item) {
    if (!item || !ValidItem(s, item->iItem)) return FALSE;
    const ListItem& found = s.items[item->iItem];
    if (item->mask & LVIF_IMAGE) item->iImage = found.image;
    if (item->mask & LVIF_PARAM) item->lParam = found.param;
    if (item->mask & LVIF_STATE) item->state = found.state & item->stateMask;
    if (item->mask & LVIF_TEXT) GetItemText(s, item->iItem, item);
    return TRUE;
}

LRESULT SetItem(ListState& s, const LVITEMW* item) {
    if (!item || !ValidItem(s, item->iItem)) return FALSE;
    ApplyItem(s, s.items[item->iItem], *item);
    return TRUE;
}

LRESULT SetItemText(ListState& s, int index, const LVITEMW* item) {
    if (!item || !ValidItem(s, index)) return FALSE;
    return SetText(s, s.items[index], item->iSubItem, item->pszText) ? TRUE : FALSE;
}

LRESULT DeleteAllItems(ListState& s) {
    s.items.clear();
    s.top = 0;
    return TRUE;
}

LRESULT EnsureVisible(HWND list, ListState& s, int index) {
    if (ValidItem(s, index)) KeepInView(list, s, index);
    return TRUE;
}

LRESULT SetExtendedStyle(ListState& s, WPARAM maskParam, LPARAM styleParam) {
    const DWORD old = s.extendedStyle;
    const auto mask = static_cast<DWORD>(maskParam);
    const auto style = static_cast<DWORD>(styleParam);
    s.extendedStyle = mask ? (old & ~mask) | (style & mask) : style;
    return old;
}

LRESULT GetColumnOrder(const ListState& s, int count, int* out) {
    if (!out || count < static_cast<int>(s.order.size())) return FALSE;
    std::copy(s.order.begin(), s.order.end(), out);
    return TRUE;
}

}  // namespace

ListState::~ListState() {
    if (smallImages && !sharedImages) ImageList_Destroy(smallImages);
}

LRESULT ListMessage(HWND list, ListState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    auto* item = reinterpret_cast<LVITEMW*>(lParam);
    switch (message) {
        case LVM_INSERTCOLUMNW: return InsertColumn(s, index, AsColumn(lParam));
        case LVM_GETCOLUMNW: return GetColumn(s, index, AsColumn(lParam));
        case LVM_SETCOLUMNW: return SetColumn(s, index, AsColumn(lParam));
        case LVM_INSERTITEMW: return InsertItem(s, item);
        case LVM_GETITEMW: return GetItem(s, item);
        case LVM_SETITEMW: return SetItem(s, item);
        case LVM_SETITEMTEXTW: return SetItemText(s, index, item);
        case LVM_GETITEMTEXTW: return GetItemText(s, index, item);
        case LVM_GETITEMCOUNT: return static_cast<LRESULT>(s.items.size());
        case LVM_GETITEMSTATE: return ValidItem(s, index) ? s.items[index].state & lParam : 0;
        case LVM_SETITEMSTATE: return SetItemState(list, s, index, item);
        case LVM_DELETEALLITEMS: return DeleteAllItems(s);
        case LVM_GETCOUNTPERPAGE: return RowsPerPage(list);
        case LVM_GETTOPINDEX: return s.top;
        case LVM_ENSUREVISIBLE: return EnsureVisible(list, s, index);
        case LVM_SORTITEMS: return SortItems(s, LPARAM(wParam), PFNLVCOMPARE(lParam));
        case LVM_SETIMAGELIST: return SetImageList(s, index, HIMAGELIST(lParam));
        case LVM_GETIMAGELIST: return index == LVSIL_SMALL ? LRESULT(s.smallImages) : 0;
        case LVM_SETEXTENDEDLISTVIEWSTYLE: return SetExtendedStyle(s, wParam, lParam);
        case LVM_GETEXTENDEDLISTVIEWSTYLE: return s.extendedStyle;
        case LVM_SETCOLUMNORDERARRAY: return SetColumnOrder(s, index, AsOrder(lParam));
        case LVM_GETCOLUMNORDERARRAY: return GetColumnOrder(s, index, AsOrder(lParam));
        default: return ControlDefault(list, message, wParam, lParam);
    }
}

namespace {

LRESULT OnCreate(HWND list) {
    ListState* s = CreateState<ListState>(list);
    s->sharedImages = (FindWindowData(list)->style & LVS_SHAREIMAGELISTS) != 0;
    return 0;
}

LRESULT OnWheel(HWND list, ListState& s, WPARAM wParam) {
    const int rows = static_cast<short>(HIWORD(wParam)) / 120 * 3;
    const int last = std::max(0, static_cast<int>(s.items.size()) - RowsPerPage(list));
    s.top = std::clamp(s.top - rows, 0, last);
    return 0;
}

LRESULT ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(list);
    ListState* s = StateOf<ListState>(list);
    if (!s) return ControlDefault(list, message, wParam, lParam);
    switch (message) {
        case WM_KEYDOWN: return ListKey(list, *s, wParam, lParam);
        case WM_LBUTTONDOWN: return ListTap(list, *s, lParam);
        case WM_MOUSEWHEEL: return OnWheel(list, *s, wParam);
        default: return ListMessage(list, *s, message, wParam, lParam);
    }
}

}  // namespace

void RegisterListViewClass() {
    RegisterBuiltinClass(WC_LISTVIEWW, ListProc, DrawList);
}

}  // namespace platform::detail
