// Speed of the message queues: a post and get on one thread, and a send to a window of
// another thread that answers from its message loop.
#include "ce/kernel.h"
#include "ce/user.h"
#include "device/Device.h"
#include "kernel/ProcessTable.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>

namespace {

LRESULT CALLBACK AnswerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER)
        return LRESULT(wParam + 1);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// One device for the whole program, with a class and a worker thread that pumps messages.
struct BenchDevice {
    BenchDevice() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = AnswerProc;
        wc.lpszClassName = u"BenchWnd";
        RegisterClassW(&wc);
        auto& table = platform::ProcessTable::Instance();
        auto process = table.CreateProcessRecord(u"\\Windows\\bench.exe", u"");
        worker = table.StartThread(process, [this]() -> DWORD {
            workerWindow = CreateWindowExW(0, u"BenchWnd", u"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                           nullptr, nullptr, nullptr);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            return 0;
        }, false);
        while (!workerWindow.load())
            Sleep(1);
    }
    ~BenchDevice() {
        PostThreadMessageW(worker->Id(), WM_QUIT, 0, 0);
    }
    testsupport::ScratchDevice device;
    std::shared_ptr<platform::ThreadObject> worker;
    std::atomic<HWND> workerWindow{nullptr};
};

BenchDevice& Bench() {
    static BenchDevice bench;
    return bench;
}

void PostAndGetOnOneThread(benchmark::State& state) {
    Bench();
    HWND hwnd = CreateWindowExW(0, u"BenchWnd", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                nullptr, nullptr);
    MSG msg;
    for (auto _ : state) {
        PostMessageW(hwnd, WM_USER + 1, 1, 2);
        GetMessageW(&msg, nullptr, 0, 0);
        benchmark::DoNotOptimize(msg.wParam);
    }
    DestroyWindow(hwnd);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PostAndGetOnOneThread);

void SendToAnotherThread(benchmark::State& state) {
    HWND hwnd = Bench().workerWindow;
    WPARAM value = 0;
    for (auto _ : state) {
        value = WPARAM(SendMessageW(hwnd, WM_USER, value, 0));
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SendToAnotherThread)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
