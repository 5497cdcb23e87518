// Thin typed wrappers over the controls' messages, in the manner of WTL's control classes:
// each holds the control's handle, refuses to act on one that is not a window, and sends one
// message. The messages themselves stay available (controls.h) for code written against them.
#pragma once

#include "platform/comctl32/controls.h"
#include "platform/user32/message_loop.h"

namespace platform {

class ControlWrapper {
public:
    explicit ControlWrapper(HWND window = nullptr) : window_(window) {}
    HWND handle() const { return window_; }
    bool IsValid() const { return IsWindow(window_) != FALSE; }

protected:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT failure = 0) const {
        return IsValid() ? SendMessageW(window_, message, wParam, lParam) : failure;
    }

private:
    HWND window_;
};

// "SysListView32" in report mode.
class ListViewCtrl : public ControlWrapper {
public:
    using ControlWrapper::ControlWrapper;

    // Inserts a column at `index`; returns its position, or -1.
    int InsertColumn(int index, const char16_t* title, int format, int width, int subItem) const {
        LVCOLUMNW c{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM,
                    format,
                    width,
                    const_cast<LPWSTR>(title),
                    0,
                    subItem};
        return static_cast<int>(
            Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c), -1));
    }
    // Inserts an item with text, image and item data; returns its index, or -1.
    int InsertItem(int index, const char16_t* text, int image, LPARAM param) const {
        LVITEMW item = Item(index, text, image, param);
        return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item), -1));
    }
    // Rewrites an item's text, image and item data; nothing happens where there is no item.
    bool SetItem(int index, const char16_t* text, int image, LPARAM param) const {
        LVITEMW item = Item(index, text, image, param);
        return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
    }
    // Sets the text of a sub-item; nothing happens where there is no item.
    bool SetItemText(int index, int subItem, const char16_t* text) const {
        LVITEMW item{LVIF_TEXT, index, subItem, 0, 0, const_cast<LPWSTR>(text), 0, 0, 0};
        return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
    }
    // Copies a sub-item's text, cut to capacity - 1 (empty when there is no such item).
    int GetItemText(int index, int subItem, char16_t* buffer, int capacity) const {
        LVITEMW item{0, index, subItem, 0, 0, buffer, capacity, 0, 0};
        return static_cast<int>(
            Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    UINT GetItemState(int index, UINT mask) const {
        return static_cast<UINT>(
            Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), static_cast<LPARAM>(mask)));
    }
    bool SetItemState(int index, UINT state, UINT mask) const {
        LVITEMW item{LVIF_STATE, index, 0, state, mask, nullptr, 0, 0, 0};
        return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&item)) != 0;
    }
    int GetCountPerPage() const { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE)); }
    int GetTopIndex() const { return static_cast<int>(Send(LVM_GETTOPINDEX)); }
    HIMAGELIST SetImageList(HIMAGELIST list, int which = LVSIL_SMALL) const {
        return reinterpret_cast<HIMAGELIST>(
            Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
    }
    DWORD SetExtendedListViewStyle(DWORD style, DWORD mask = 0) const {
        return static_cast<DWORD>(
            Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, static_cast<LPARAM>(style)));
    }
    // Sorts the items with the program's comparison of their item data.
    bool SortItems(PFNLVCOMPARE compare, LPARAM sortParam) const {
        return Send(LVM_SORTITEMS, static_cast<WPARAM>(sortParam),
                    reinterpret_cast<LPARAM>(compare)) != 0;
    }
    // The sort mark of the column at `position`: HDF_SORTUP, HDF_SORTDOWN or 0; its alignment
    // stays.
    bool SetSortMark(int position, int mark) const {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT;
        if (!Send(LVM_GETCOLUMNW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column)))
            return false;
        column.fmt = (column.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | mark;
        return Send(LVM_SETCOLUMNW, static_cast<WPARAM>(position),
                    reinterpret_cast<LPARAM>(&column)) != 0;
    }
    bool SetColumnOrderArray(int count, const int* order) const {
        return Send(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(count),
                    reinterpret_cast<LPARAM>(order)) != 0;
    }
    bool GetColumnOrderArray(int count, int* order) const {
        return Send(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count),
                    reinterpret_cast<LPARAM>(order)) != 0;
    }

private:
    // An item's record with its text, image and item data.
    static LVITEMW Item(int index, const char16_t* text, int image, LPARAM param) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<LPWSTR>(text);
        item.iImage = image;
        item.lParam = param;
        return item;
    }
};

// "COMBOBOX" with the drop-down list style.
class ComboBoxCtrl : public ControlWrapper {
public:
    using ControlWrapper::ControlWrapper;
    int AddString(const char16_t* text) const {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text), CB_ERR));
    }
    int SetItemData(int index, LPARAM data) const {
        return static_cast<int>(Send(CB_SETITEMDATA, static_cast<WPARAM>(index), data, CB_ERR));
    }
    LPARAM GetItemData(int index) const {
        return Send(CB_GETITEMDATA, static_cast<WPARAM>(index), 0, CB_ERR);
    }
    int SetCurSel(int index) const {
        return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(index), 0, CB_ERR));
    }
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL, 0, 0, CB_ERR)); }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
};

// "EDIT", single line.
class EditCtrl : public ControlWrapper {
public:
    using ControlWrapper::ControlWrapper;
    void LimitText(int characters) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
    void SetSel(int start, int end) const { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void GetSel(int& start, int& end) const {
        const auto sel = static_cast<DWORD>(Send(EM_GETSEL));
        start = LOWORD(sel);
        end = HIWORD(sel);
    }
    int GetText(char16_t* buffer, int capacity) const {
        return IsValid() ? GetWindowTextW(handle(), buffer, capacity) : 0;
    }
    bool SetText(const char16_t* text) const { return IsValid() && SetWindowTextW(handle(), text); }
};

// "BUTTON": push buttons and check boxes.
class ButtonCtrl : public ControlWrapper {
public:
    using ControlWrapper::ControlWrapper;
    bool GetCheck() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
    void Click() const { Send(BM_CLICK); }
};

// "msctls_updown32".
class UpDownCtrl : public ControlWrapper {
public:
    using ControlWrapper::ControlWrapper;
    void SetRange32(int low, int high) const {
        Send(UDM_SETRANGE32, static_cast<WPARAM>(low), high);
    }
    int GetPos32() const { return static_cast<int>(Send(UDM_GETPOS32)); }
    int SetPos32(int position) const { return static_cast<int>(Send(UDM_SETPOS32, 0, position)); }
    HWND GetBuddy() const { return reinterpret_cast<HWND>(Send(UDM_GETBUDDY)); }
};

}  // namespace platform
