#include "CacheTestSupport.h"

#include "ce/objbase.h"
#include "ce/pimstore.h"
#include "ce/user.h"
#include "ce/windbase.h"
#include "console/DeviceCommands.h"
#include "pim/CallLogStore.h"
#include "pim/SimCard.h"
#include "support/DeviceConsole.h"

#include <chrono>
#include <thread>

namespace cachetest {

namespace {

CacheTest* g_test = nullptr;
corvane::ContactCache* g_contacts = nullptr;
corvane::CallLogCache* g_calls = nullptr;
std::vector<Posted> g_posted;

LRESULT CALLBACK WatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= PIM_ITEM_CREATED_LOCAL && message <= PIM_ITEM_CHANGED_REMOTE && g_contacts) {
        g_contacts->OnStoreNotification(message, CEOID(wParam), lParam);
        return 0;
    }
    if (message == WM_DBNOTIFICATION && g_calls) {
        g_calls->OnDbNotification(wParam, lParam);
        return 0;
    }
    if (message == WM_TIMER && g_contacts) {
        g_contacts->OnTimer(wParam);
        return 0;
    }
    if (message == corvane::SimPhonebook::kRadioReadyMessage && g_contacts) {
        g_contacts->OnRadioReady(DWORD(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= 0x7F00 && message < 0x8300)
        g_posted.push_back(Posted{message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const WCHAR* className, WNDPROC proc) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
}


} // namespace

std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? char(c) : '?';
    return narrow;
}

void CacheTest::SetUp() {
    TestDevice::SetUp();
    testsupport::EmptySimAndCallLog();
    CoInitializeEx(nullptr, 0);
    platform::RegisterDeviceCommands(m_console);
    m_watcher = MakeWindow(u"CacheTestWatcher", WatcherProc);
    m_frame = MakeWindow(u"CacheTestFrame", FrameProc);
    ASSERT_NE(m_watcher, nullptr);
    ASSERT_NE(m_frame, nullptr);
    m_settings.Record() = common::Settings::Defaults();
    m_contacts = std::make_unique<corvane::ContactCache>(m_lock, m_settings);
    m_calls = std::make_unique<corvane::CallLogCache>(*m_contacts);
    m_contacts->SetCallLog(m_calls.get());
    g_test = this;
    g_contacts = m_contacts.get();
    g_calls = m_calls.get();
    g_posted.clear();
}

void CacheTest::TearDown() {
    if (m_calls)
        m_calls->Close();
    if (m_contacts)
        m_contacts->Close();
    g_contacts = nullptr;
    g_calls = nullptr;
    m_calls.reset();
    m_contacts.reset();
    DestroyWindow(m_watcher);
    DestroyWindow(m_frame);
    CoUninitialize();
    g_test = nullptr;
    TestDevice::TearDown();
}

void CacheTest::OpenCaches() {
    m_contacts->Open(m_watcher, [this] { return m_frame; });
    m_calls->Open(m_watcher, [this] { return m_frame; });
    Pump();
}

void CacheTest::Pump() {
    testsupport::PumpUntilQuiet();
}

std::vector<std::string> CacheTest::Console(const std::string& line) {
    return testsupport::RunConsoleLine(m_console, line);
}

CEOID CacheTest::AddContact(const std::string& fields) {
    return testsupport::AddContactThrough(m_console, fields);
}

CEOID CacheTest::AddCall(const std::string& line) {
    std::vector<std::string> lines = Console("calllog add " + line);
    if (lines.size() != 1 || lines[0].rfind("id ", 0) != 0)
        return 0;
    return CEOID(std::stoul(lines[0].substr(3)));
}

std::vector<Posted> CacheTest::TakePosted() {
    std::vector<Posted> posted;
    posted.swap(g_posted);
    return posted;
}

std::vector<std::string> CacheTest::Names() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < m_contacts->Size(); ++i)
        names.push_back(Narrow(m_contacts->At(i)->displayName));
    return names;
}

} // namespace cachetest
