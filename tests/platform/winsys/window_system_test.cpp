// The window system on the headless device: message order, timers, accelerators, menus,
// message boxes, the navigation and menu bars.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/aygshell/shell.h"
#include "platform/testing/headless.h"
#include "platform/user32/menus.h"
#include "platform/user32/message_box.h"
#include "platform/user32/message_loop.h"
#include "platform/user32/resources.h"
#include "platform/user32/window.h"

namespace {

using platform::testing::HeadlessDevice;

std::vector<std::string> events;

std::string Name(HWND window) {
    char16_t text[32] = {};
    GetWindowTextW(window, text, 32);
    std::string name;
    for (char16_t* c = text; *c; ++c) name += static_cast<char>(*c);
    return name;
}

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: events.push_back("create " + Name(window)); return 0;
        case WM_DESTROY: events.push_back("destroy " + Name(window)); return 0;
        case WM_SIZE: events.push_back("size " + Name(window)); return 0;
        case WM_ACTIVATE:
            events.push_back((LOWORD(wParam) == WA_INACTIVE ? "inactive " : "active ") +
                             Name(window));
            return 0;
        case WM_TIMER: events.push_back("timer " + std::to_string(wParam)); return 0;
        case WM_COMMAND: events.push_back("command " + std::to_string(LOWORD(wParam))); return 0;
        case WM_HIBERNATE: events.push_back("hibernate " + Name(window)); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

class WindowSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        events.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = u"Recorder";
        wc.hbrBackground = GetStockObject(WHITE_BRUSH);
        ASSERT_NE(RegisterClassW(&wc), 0);
    }

    HWND Top(const char16_t* title, DWORD exStyle = 0) {
        return CreateWindowExW(exStyle, u"Recorder", title, WS_VISIBLE, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               nullptr, nullptr);
    }
    HWND Child(HWND parent, const char16_t* title, int id) {
        return CreateWindowExW(0, u"Recorder", title, WS_CHILD | WS_VISIBLE, 0, 0, 60, 26, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr,
                               nullptr);
    }

    HeadlessDevice device_{60, 24};
};

TEST_F(WindowSystemTest, CreateAndDestroyInOrder) {
    const HWND main = Top(u"main");
    const HWND child = Child(main, u"child", 7);
    Child(child, u"grandchild", 8);
    EXPECT_EQ(GetDlgItem(main, 7), child);
    EXPECT_EQ(GetForegroundWindow(), main);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 26);
    EXPECT_EQ(r.right, 60 * 6);
    EXPECT_EQ(r.bottom, 24 * 13 - 26);
    DestroyWindow(main);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(events, (std::vector<std::string>{"create main", "active main", "create child",
                                                "create grandchild", "destroy grandchild",
                                                "destroy child", "destroy main"}));
    // A destroyed handle is refused everywhere.
    EXPECT_FALSE(SetWindowTextW(main, u"x"));
    EXPECT_FALSE(DestroyWindow(main));
    EXPECT_EQ(SendMessageW(main, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(GetDlgItem(nullptr, 7), nullptr);
}

TEST_F(WindowSystemTest, CloseDestroysAndTheLoopEndsWithTheQuitCode) {
    const HWND main = Top(u"main");
    device_.Check([&] { PostMessageW(main, WM_CLOSE, 0, 0); }).Check([&] {
        EXPECT_FALSE(IsWindow(main));
        PostQuitMessage(7);
    });
    EXPECT_EQ(device_.RunMessageLoop(), 7);
}

TEST_F(WindowSystemTest, TimersCoalesceAndRestart) {
    const HWND main = Top(u"main");
    events.clear();
    SetTimer(main, 1324, 1000, nullptr);
    // Five periods pass while the program is busy: one WM_TIMER, not five.
    device_.Advance(5000)
        .Check([] { EXPECT_EQ(events, std::vector<std::string>{"timer 1324"}); })
        .Advance(999)
        .Check([] { EXPECT_EQ(events.size(), 1u); })
        .Advance(1)
        .Check([] { EXPECT_EQ(events.size(), 2u); })
        .Check([&] {
            ASSERT_TRUE(KillTimer(main, 1324));
            EXPECT_FALSE(KillTimer(main, 1324));
            SetTimer(main, 9, 1000, nullptr);
        })
        .Advance(600)
        .Check([&] { SetTimer(main, 9, 1000, nullptr); })  // restarts the period
        .Advance(600)
        .Check([] { EXPECT_EQ(events.size(), 2u); })
        .Advance(400)
        .Check([] { EXPECT_EQ(events.back(), "timer 9"); });
    device_.RunMessageLoop();
    EXPECT_EQ(device_.pending(), 0u);
}

TEST_F(WindowSystemTest, MessageBoxIsModalDrawnAndAnswered) {
    const HWND main = Top(u"main");
    SetTimer(main, 1324, 60000, nullptr);
    device_.Advance(60000)
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"Delete the selected row?"), std::u16string::npos);
            EXPECT_NE(device_.Text().find(u"[ OK ]"), std::u16string::npos);
            EXPECT_NE(device_.Text().find(u"[ Cancel ]"), std::u16string::npos);
            EXPECT_NE(device_.Row(0).find(u"Information"), std::u16string::npos);
            EXPECT_FALSE(IsWindowEnabled(main));
            EXPECT_EQ(events, (std::vector<std::string>{"inactive main", "timer 1324"}));
        })
        .Key(VK_ESCAPE);
    events.clear();
    EXPECT_EQ(MessageBoxW(main, u"Delete the selected row?", u"Information", MB_OKCANCEL),
              IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetForegroundWindow(), main);

    device_.Key(VK_RETURN);
    EXPECT_EQ(MessageBoxW(main, u"x", u"Information", MB_OKCANCEL), IDOK);
    device_.TapText(u"[ Cancel ]");
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"Error", MB_OKCANCEL), IDCANCEL);
    device_.Key(VK_ESCAPE);
    EXPECT_EQ(MessageBoxW(nullptr, u"Only OK", u"Error", MB_OK), IDOK);
    // A text longer than the screen still leaves its button on the screen to tap.
    std::u16string longText;
    for (int i = 0; i < 200; ++i) longText += u"word ";
    device_.TapText(u"[ OK ]");
    EXPECT_EQ(MessageBoxW(nullptr, longText.c_str(), u"Error", MB_OK), IDOK);
    EXPECT_TRUE(device_.errors().empty());
}

TEST_F(WindowSystemTest, WindowsGetActivateAndHibernate) {
    const HWND first = Top(u"first");
    const HWND second = Top(u"second");
    EXPECT_EQ(GetForegroundWindow(), second);
    SetForegroundWindow(first);
    EXPECT_EQ(GetForegroundWindow(), first);
    device_.Hibernate();
    device_.RunMessageLoop();
    EXPECT_EQ(events,
              (std::vector<std::string>{"create first", "active first", "create second",
                                        "inactive first", "active second", "inactive second",
                                        "active first", "hibernate second", "hibernate first"}));
}

TEST_F(WindowSystemTest, ResizeFollowsTheTerminal) {
    const HWND main = Top(u"main");
    events.clear();
    device_.Resize(100, 40).Check([&] {
        RECT r{};
        GetWindowRect(main, &r);
        EXPECT_EQ(r.right, 600);
        EXPECT_EQ(r.bottom, 40 * 13 - 26);
        EXPECT_EQ(events, std::vector<std::string>{"size main"});
    });
    device_.RunMessageLoop();
}

const ACCEL kAccelerators[] = {{FVIRTKEY | FCONTROL, 'Q', 1}, {FVIRTKEY | FCONTROL, 'A', 40003}};
const AcceleratorTableResource kTables[] = {{3, kAccelerators}};
const MenuItemResource kPopupItems[] = {
    {u"&Insert", 40020}, {u"&Delete", 40018}, {nullptr, 0}, {u"&Chart", 40041}};
const MenuItemResource kMenuItems[] = {{u"Row", 0, kPopupItems}};
const MenuItemResource kTools[] = {{u"&Refresh Settings", 40024}, {u"&Quote Options", 40006}};
const MenuItemResource kHelp[] = {{u"About", 40003}};
const MenuItemResource kBarMenu[] = {
    {u"Refresh", 40005}, {u"Tools", 40001, kTools}, {u"Help", 40010, kHelp}};
const MenuResource kMenus[] = {{116, kMenuItems}, {102, kBarMenu}};
const StringResource kStrings[] = {{40039, u"Refresh"}, {104, u"Tools"}, {40012, u"Help"}};
const MenuBarButtonResource kButtons[] = {
    {I_IMAGENONE, 40005, TBSTATE_ENABLED, TBSTYLE_BUTTON, 40039, kNoPopup},
    {I_IMAGENONE, 40001, TBSTATE_ENABLED, TBSTYLE_DROPDOWN, 104, 1},
    {I_IMAGENONE, 40010, TBSTATE_ENABLED, TBSTYLE_DROPDOWN, 40012, 2},
};
const MenuBarResource kBars[] = {{102, 102, kButtons}};
const ResourceTable kResources = {kStrings, kMenus, kBars, kTables, {}, {}, nullptr};

TEST_F(WindowSystemTest, AcceleratorsBecomeCommands) {
    const HINSTANCE instance = RegisterModule(&kResources);
    const HWND main = Top(u"main");
    const HACCEL table = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(3));
    ASSERT_NE(table, nullptr);
    device_.Key('Q', false, true).Key('Q').Key('A', false, true, true).Key('A', false, true);
    MSG msg{};
    int keys = 0;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_KEYDOWN) ++keys;
        if (!TranslateAcceleratorW(msg.hwnd, table, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    EXPECT_EQ(keys, 4);
    EXPECT_EQ(events, (std::vector<std::string>{"create main", "active main", "command 1",
                                                "command 40003"}));
    EXPECT_EQ(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(4)), nullptr);
    (void)main;
}

TEST_F(WindowSystemTest, PopupMenuPostsTheChoiceAfterItReturns) {
    const HINSTANCE instance = RegisterModule(&kResources);
    const HWND main = Top(u"main");
    const HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(116));
    const HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 4);
    device_
        .Check([&] {
            EXPECT_NE(device_.Text().find(u"Insert"), std::u16string::npos);
            EXPECT_NE(device_.Text().find(u"Chart"), std::u16string::npos);
        })
        .Key(VK_DOWN)
        .Key(VK_RETURN);
    events.clear();
    EXPECT_TRUE(TrackPopupMenu(popup, 0, 100, 100, 0, main, nullptr));
    EXPECT_TRUE(events.empty());  // not yet: the command is posted
    device_.Check([] { EXPECT_EQ(events, std::vector<std::string>{"command 40018"}); });
    device_.RunMessageLoop();

    events.clear();
    device_.Key(VK_ESCAPE);
    TrackPopupMenu(popup, 0, 100, 100, 0, main, nullptr);
    device_.TapCell(1, 20);  // outside the menu
    TrackPopupMenu(popup, 0, 100, 100, 0, main, nullptr);
    device_.Type(u"c");  // the mnemonic of "&Chart"
    TrackPopupMenu(popup, 0, 100, 100, 0, main, nullptr);
    device_.RunMessageLoop();
    EXPECT_EQ(events, std::vector<std::string>{"command 40041"});
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
}

TEST_F(WindowSystemTest, MenuBarButtonsAndNavigationBar) {
    const HINSTANCE instance = RegisterModule(&kResources);
    const HWND main = Top(u"main", WS_EX_CAPTIONOKBTN);
    SHMENUBARINFO info{};
    info.cbSize = 32;
    info.hwndParent = main;
    info.nToolBarId = 102;
    info.hInstRes = instance;
    ASSERT_TRUE(SHCreateMenuBar(&info));
    SHSetNavBarText(main, u"PIV- 9:05( 1)");
    events.clear();
    device_
        .Check([&] {
            EXPECT_NE(device_.Row(22).find(u"F1 Refresh"), std::u16string::npos);
            EXPECT_NE(device_.Row(22).find(u"F2 Tools"), std::u16string::npos);
            EXPECT_NE(device_.Row(22).find(u"F3 Help"), std::u16string::npos);
            EXPECT_NE(device_.Row(0).find(u"PIV- 9:05( 1)"), std::u16string::npos);
            EXPECT_NE(device_.Row(0).find(u"[ok]"), std::u16string::npos);
        })
        .TapText(u"Refresh")
        .Key(VK_F2)
        .Check([&] {
            // The Tools drop-down opens above its button.
            int column = 0, row = 0;
            ASSERT_TRUE(device_.Find(u"Quote Options", column, row));
            EXPECT_LT(row, 22);
        })
        .Key(VK_DOWN)
        .Key(VK_RETURN)
        .Key('H', false, false, true)
        .TapText(u"About")
        .TapText(u"[ok]");
    device_.RunMessageLoop();
    EXPECT_EQ(events, (std::vector<std::string>{"command 40005", "command 40006", "command 40003",
                                                "command 1"}));
    EXPECT_TRUE(device_.errors().empty());
    DestroyWindow(info.hwndMB);
    EXPECT_FALSE(IsWindow(info.hwndMB));
    EXPECT_EQ(CommandBar_Height(info.hwndMB), 0);
}

}  // namespace
