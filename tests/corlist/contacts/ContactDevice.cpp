#include "ContactDevice.h"

#include "ce/objbase.h"
#include "ce/pimstore.h"
#include "ce/user.h"
#include "console/DeviceCommands.h"
#include "corlist/image/ImageLoader.h"
#include "pim/CallLogStore.h"
#include "pim/SimCard.h"
#include "support/DeviceConsole.h"

#include <chrono>
#include <thread>

namespace contacttest {

namespace {

corvane::Core* g_core = nullptr;

LRESULT CALLBACK WatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= PIM_ITEM_CREATED_LOCAL && message <= PIM_ITEM_CHANGED_REMOTE && g_core) {
        g_core->Contacts().OnStoreNotification(message, CEOID(wParam), lParam);
        return 0;
    }
    if (message == WM_TIMER && g_core) {
        g_core->Contacts().OnTimer(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const WCHAR* className) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WatcherProc;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}


} // namespace

void ContactDevice::SetUp() {
    TestDevice::SetUp();
    testsupport::EmptySimAndCallLog();
    CoInitializeEx(nullptr, 0);
    platform::RegisterDeviceCommands(m_console);
    m_watcher = MakeWindow(u"ContactTestWatcher");
    m_frame = MakeWindow(u"ContactTestFrame");
    ASSERT_NE(m_watcher, nullptr);
    ASSERT_NE(m_frame, nullptr);
    m_core = new corvane::Core(u"\\Program Files\\Tavik Dialora\\CustomProfile.xml");
    m_core->SharedSettings().Record() = common::Settings::Defaults();
    g_core = m_core;
    m_core->OpenStores(m_watcher, [this] { return m_frame; });
    corlist::InitImagesInFolder(nullptr, nullptr, u"\\Program Files\\Tavik Dialora\\");
    Pump();
}

void ContactDevice::TearDown() {
    corlist::ShutdownImages();
    if (m_core) {
        m_core->CloseStores();
        g_core = nullptr;
        m_core->Destroy();
        m_core = nullptr;
    }
    DestroyWindow(m_watcher);
    DestroyWindow(m_frame);
    CoUninitialize();
    TestDevice::TearDown();
}

void ContactDevice::Pump() {
    testsupport::PumpUntilQuiet();
}

std::vector<std::string> ContactDevice::Console(const std::string& line) {
    return testsupport::RunConsoleLine(m_console, line);
}

CEOID ContactDevice::AddContact(const std::string& fields) {
    return testsupport::AddContactThrough(m_console, fields);
}

std::map<std::string, std::string> ContactDevice::Stored(CEOID oid) {
    std::map<std::string, std::string> fields;
    for (const std::string& line : Console("contact show " + std::to_string(oid))) {
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
}

common::ContactRecord* ContactDevice::Record(CEOID oid) {
    Pump();
    return m_core->FindContactByOid(oid);
}

common::ContactRecord* ContactDevice::Named(const std::u16string& name) {
    common::ContactDirectory& directory = m_core->Directory();
    for (size_t i = 0; i < directory.ContactCount(); ++i)
        if (directory.ContactAt(i)->displayName == name)
            return directory.ContactAt(i);
    return nullptr;
}

common::ContactRecord* ContactDevice::AddSimEntry(int location, const std::string& name,
                                                 const std::string& number) {
    Console("sim add " + std::to_string(location) + " \"" + name + "\" " + number);
    m_core->Contacts().OnShowSimChanged();
    Pump();
    return Named(std::u16string(name.begin(), name.end()));
}

bool ContactDevice::StorePicture(common::ContactRecord& record, const std::vector<uint8_t>& bytes) {
    IContact* contact = m_core->Directory().FetchItem(record);
    if (!contact)
        return false;
    void* item = nullptr;
    bool stored = false;
    if (SUCCEEDED(contact->QueryInterface(IID_IItem, &item))) {
        IStream* stream = nullptr;
        auto* pimItem = static_cast<IItem*>(item);
        if (SUCCEEDED(pimItem->OpenProperty(PIMPR_PICTURE, GENERIC_READ | GENERIC_WRITE, &stream))) {
            ULONG written = 0;
            stored = SUCCEEDED(stream->Write(bytes.data(), ULONG(bytes.size()), &written)) &&
                     SUCCEEDED(stream->Commit(0));
            stream->Release();
        }
        stored = stored && SUCCEEDED(pimItem->Save());
        pimItem->Release();
    }
    m_core->Directory().ReleaseItem(record);
    return stored;
}

} // namespace contacttest
