// How long the device takes to fill a 200-row, 19-column list and to draw the screen with it:
// what a refresh costs the user in waiting.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/comctl32/control_wrappers.h"
#include "platform/testing/headless.h"
#include "platform/user32/window.h"

namespace {

HWND MakeList(HWND parent) {
    return CreateWindowExW(0, WC_LISTVIEWW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 480, 300,
                           parent, reinterpret_cast<HMENU>(2), nullptr, nullptr);
}

void Fill(const platform::ListViewCtrl& list) {
    for (int c = 0; c < 19; ++c) list.InsertColumn(c, u"Column", LVCFMT_RIGHT, 60, c);
    for (int r = 0; r < 200; ++r) {
        list.InsertItem(r, u"SYMBOL", r % 3, r);
        for (int c = 1; c < 19; ++c) list.SetItemText(r, c, u"123.45");
    }
}

HWND MakeParent() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"BenchParent";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"BenchParent", u"PIV", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
}

void FillList(benchmark::State& state) {
    platform::testing::HeadlessDevice device(120, 40);
    const HWND parent = MakeParent();
    for (auto _ : state) {
        const HWND list = MakeList(parent);
        Fill(platform::ListViewCtrl(list));
        DestroyWindow(list);
    }
}
BENCHMARK(FillList)->Unit(benchmark::kMicrosecond);

void DrawScreen(benchmark::State& state) {
    platform::testing::HeadlessDevice device(120, 40);
    const HWND parent = MakeParent();
    Fill(platform::ListViewCtrl(MakeList(parent)));
    for (auto _ : state) {
        // Each round: one step of the script, so the loop draws the screen once.
        device.Check([] {});
        device.RunMessageLoop();
    }
}
BENCHMARK(DrawScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
