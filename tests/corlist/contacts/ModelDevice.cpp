#include "ModelDevice.h"

#include "ce/objbase.h"
#include "ce/pimstore.h"
#include "ce/user.h"
#include "ce/windbase.h"
#include "common/CallLogEntry.h"
#include "console/DeviceCommands.h"
#include "pim/CallLogStore.h"
#include "pim/SimCard.h"

#include <chrono>
#include <thread>

namespace modeltest {

namespace {

corvane::Core* g_core = nullptr;

LRESULT CALLBACK WatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_core)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message >= PIM_ITEM_CREATED_LOCAL && message <= PIM_ITEM_CHANGED_REMOTE) {
        g_core->Contacts().OnStoreNotification(message, CEOID(wParam), lParam);
        return 0;
    }
    if (message == WM_DBNOTIFICATION) {
        g_core->CallLog().OnDbNotification(wParam, lParam);
        return 0;
    }
    if (message == WM_TIMER) {
        g_core->Contacts().OnTimer(wParam);
        return 0;
    }
    if (message == corvane::SimPhonebook::kRadioReadyMessage) {
        g_core->Contacts().OnRadioReady(DWORD(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The device comes with sample SIM entries and calls; these tests start from none.
void EmptyStores() {
    std::vector<platform::SimEntry> entries;
    platform::SimCard::Instance().List(entries);
    for (const platform::SimEntry& entry : entries)
        platform::SimCard::Instance().Delete(entry.location);
    std::vector<platform::CallLogRecord> records;
    platform::CallLogStore::Instance().List(records);
    for (const platform::CallLogRecord& record : records)
        platform::CallLogStore::Instance().Delete(record.oid);
}

} // namespace

std::string Narrow(std::u16string_view text) {
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? char(c) : '?';
    return narrow;
}

std::string RowName(const corlist::ListRow& row) {
    switch (row.kind) {
    case corlist::RowKind::kContact:
        return Narrow(row.contact->displayName);
    case corlist::RowKind::kCategory:
        return Narrow(row.category->name);
    case corlist::RowKind::kCompany:
        return Narrow(*row.company);
    case corlist::RowKind::kCall:
        return Narrow(row.call->number.empty() ? row.call->name : row.call->number);
    }
    return {};
}

std::vector<std::string> Names(const corlist::ListModel& model) {
    std::vector<std::string> names;
    for (size_t i = 0; i < model.Count(); ++i)
        names.push_back(RowName(model.Row(i)));
    return names;
}

void ModelDevice::SetUp() {
    SkinOnDevice::SetUp();
    EmptyStores();
    CoInitializeEx(nullptr, 0);
    platform::RegisterDeviceCommands(m_console);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WatcherProc;
    windowClass.lpszClassName = u"ModelTestWatcher";
    RegisterClassW(&windowClass);
    m_watcher = CreateWindowExW(0, u"ModelTestWatcher", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(m_watcher, nullptr);
    m_core = new corvane::Core(u"\\Program Files\\Tavik Dialora\\Profiles.xml");
    m_core->SharedSettings().Record() = common::Settings::Defaults();
    g_core = m_core;
}

void ModelDevice::TearDown() {
    if (m_core) {
        m_core->CloseStores();
        g_core = nullptr;
        m_core->Destroy();
        m_core = nullptr;
    }
    if (m_watcher)
        DestroyWindow(m_watcher);
    CoUninitialize();
    SkinOnDevice::TearDown();
}

void ModelDevice::OpenStores() {
    m_core->OpenStores(m_watcher, [] { return HWND(nullptr); });
    Pump();
}

void ModelDevice::Pump() {
    int quietRounds = 0;
    while (quietRounds < 5) {
        MSG message;
        bool any = false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            DispatchMessageW(&message);
        }
        quietRounds = any ? 0 : quietRounds + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<std::string> ModelDevice::Console(const std::string& line) {
    platform::ConsoleAnswer answer = m_console.Execute(line);
    EXPECT_FALSE(answer.lines.empty()) << line;
    if (answer.lines.empty())
        return {};
    EXPECT_EQ(answer.lines.back(), "OK") << line;
    answer.lines.pop_back();
    return answer.lines;
}

CEOID ModelDevice::AddContact(const std::string& fields) {
    std::vector<std::string> lines = Console("contact add " + fields);
    if (lines.size() != 1 || lines[0].rfind("oid ", 0) != 0)
        return 0;
    return CEOID(std::stoul(lines[0].substr(4)));
}

void ModelDevice::AddCall(const std::string& line) {
    std::vector<std::string> lines = Console("calllog add " + line);
    EXPECT_EQ(lines.size(), 1u) << line;
}

common::ContactRecord* ModelDevice::Named(const std::string& name) const {
    common::ContactDirectory& directory = m_core->Directory();
    for (size_t i = 0; i < directory.ContactCount(); ++i)
        if (Narrow(directory.ContactAt(i)->displayName) == name)
            return directory.ContactAt(i);
    return nullptr;
}

} // namespace modeltest
