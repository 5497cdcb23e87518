#include "support/control_fixture.h"

namespace tickwell_test {

std::vector<std::string> notes;

namespace {

LRESULT ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        notes.push_back("command " + std::to_string(LOWORD(wParam)) + " " +
                        std::to_string(HIWORD(wParam)));
        return 0;
    }
    if (message == WM_NOTIFY) {
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
        const char* name = nm->hdr.code == NM_CLICK          ? "click"
                           : nm->hdr.code == LVN_COLUMNCLICK ? "column"
                                                             : "?";
        notes.push_back(std::string(name) + " " + std::to_string(nm->iItem) + " " +
                        std::to_string(nm->iSubItem));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void ControlTest::SetUp() {
    notes.clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = u"Parent";
    RegisterClassW(&wc);
    parent_ = CreateWindowExW(0, u"Parent", u"parent", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
}

HWND ControlTest::Make(const char16_t* cls, DWORD style, int x, int y, int w, int h, int id,
                       const char16_t* text) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent_,
                           reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr,
                           nullptr);
}

platform::ListViewCtrl ControlTest::MakeList(int rows, int columns, int height) {
    platform::ListViewCtrl list(
        Make(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL, 0, 0, 360, height, 2));
    for (int c = 0; c < columns; ++c) {
        const std::u16string title = u"C" + std::u16string(1, char16_t(u'A' + c));
        list.InsertColumn(c, title.c_str(), c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT, 60, c);
    }
    for (int r = 0; r < rows; ++r) {
        const auto text = [&](int c) {
            const std::string s = std::to_string(r) + "." + std::to_string(c);
            return std::u16string(s.begin(), s.end());
        };
        list.InsertItem(r, text(0).c_str(), r % 3, r);
        for (int c = 1; c < columns; ++c) list.SetItemText(r, c, text(c).c_str());
    }
    return list;
}

std::u16string ControlTest::ItemText(const platform::ListViewCtrl& list, int item, int sub,
                                     int capacity) {
    std::u16string buffer(static_cast<std::size_t>(capacity), u'#');
    list.GetItemText(item, sub, buffer.data(), capacity);
    return buffer.c_str();
}

}  // namespace tickwell_test
