#include "UserTestSupport.h"

#include <chrono>
#include <thread>

namespace usertest {

bool IsLogged(UINT message) {
    switch (message) {
    case WM_CREATE: case WM_DESTROY: case WM_NCDESTROY: case WM_MOVE: case WM_SIZE:
    case WM_ACTIVATE: case WM_NCACTIVATE: case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE:
    case WM_SHOWWINDOW: case WM_HOTKEY: case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR:
    case WM_TIMER: case WM_PAINT: case WM_CLOSE:
        return true;
    default:
        return message >= WM_USER;
    }
}

Recorder& Recorder::Instance() {
    static Recorder recorder;
    return recorder;
}

void Recorder::Add(const Entry& entry) {
    std::lock_guard lock(m_mutex);
    m_entries.push_back(entry);
}

std::vector<Entry> Recorder::Take() {
    std::lock_guard lock(m_mutex);
    std::vector<Entry> result;
    result.swap(m_entries);
    return result;
}

std::vector<UINT> Recorder::TakeMessages(HWND hwnd) {
    std::vector<UINT> result;
    for (const Entry& entry : Take())
        if (!hwnd || entry.hwnd == hwnd)
            result.push_back(entry.message);
    return result;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& recorder = Recorder::Instance();
    if (IsLogged(message))
        recorder.Add(Entry{hwnd, message, wParam, lParam});
    LRESULT result = 0;
    if (recorder.m_hook && recorder.m_hook(hwnd, message, wParam, lParam, result))
        return result;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void UserTest::SetUp() {
    TestDevice::SetUp();
    Recorder::Instance().m_hook = nullptr;
    Recorder::Instance().Take();
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.cbWndExtra = 16;
    wc.lpszClassName = kClass;
    ASSERT_NE(RegisterClassW(&wc), 0);
}

void UserTest::TearDown() {
    Recorder::Instance().m_hook = nullptr;
    TestDevice::TearDown();
}

HWND UserTest::Create(DWORD style, DWORD exStyle, HWND parent, const char16_t* title) {
    return CreateWindowExW(exStyle, kClass, title, style, 0, 0, 100, 50, parent, nullptr, nullptr,
                           nullptr);
}

void UserTest::Drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_PAINT)
            ValidateRect(msg.hwnd, nullptr);
}

std::shared_ptr<platform::ThreadObject> StartWorker(std::function<DWORD()> body) {
    auto& table = platform::ProcessTable::Instance();
    auto process = table.CreateProcessRecord(u"\\Windows\\worker.exe", u"");
    return table.StartThread(process, std::move(body), false);
}

bool JoinThread(const std::shared_ptr<platform::ThreadObject>& thread, int timeoutMs) {
    auto& hub = platform::WaitHub::Instance();
    std::unique_lock lock(hub.Mutex());
    return hub.Wait(lock, [&] { return thread->m_finished; },
                    platform::HostClock::now() + std::chrono::milliseconds(timeoutMs));
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace usertest
